#include "controlregistry.h"

#include "checkbox.h"
#include "combobox.h"
#include "container.h"
#include "datagrid.h"
#include "groupbox.h"
#include "label.h"
#include "lineedit.h"
#include "list.h"
#include "listview.h"
#include "menubar.h"
#include "picture.h"
#include "progressbar.h"
#include "pushbutton.h"
#include "scrollview.h"
#include "slider.h"
#include "smallcontrols.h"
#include "switch.h"
#include "tabbar.h"
#include "textedit.h"
#include "treeview.h"

#include <vector>

namespace OrvQtLib {

namespace {

struct BuiltInType {
    QByteArray name;
    ControlCreator creator;
    ControlSchemaSource schema;
    bool exposed;
};

// A row under the class's own type name.
template <class Control>
BuiltInType ownName(bool exposed = true)
{
    return {Control::staticTypeName().toLatin1(), &createControlOf<Control>, &Control::schema, exposed};
}

// A row under a plain alias.
template <class Control>
BuiltInType alias(const char *name, bool exposed = true)
{
    return {QByteArray(name), &createControlOf<Control>, &Control::schema, exposed};
}

// The toolkit's control types, in registration order: first each class under
// its own type name, then the aliases. A row may repeat an earlier name.
std::vector<BuiltInType> builtInTypes()
{
    return {
        ownName<OrvQContainer>(),
        ownName<OrvQImage>(),
        ownName<OrvQPushButton>(),
        ownName<OrvQMenuBar>(),
        ownName<OrvQLabel>(),
        ownName<OrvQCheckBox>(),
        ownName<OrvQLabel>(),
        ownName<OrvQListView>(false),
        ownName<OrvQProgressBar>(),
        ownName<OrvQRadioButton>(),
        ownName<OrvQSlider>(),
        ownName<OrvQTabWidget>(),
        ownName<OrvQLineEdit>(),
        ownName<OrvQComboBox>(),
        ownName<OrvQList>(),
        ownName<OrvQTreeView>(),
        ownName<OrvQTableView>(),
        ownName<OrvQGroupBox>(),
        ownName<OrvQSpinBox>(),
        ownName<OrvQLCDNumber>(),
        ownName<OrvQSplitter>(),
        ownName<OrvQSwitch>(),
        ownName<OrvQScrollView>(),
        ownName<OrvQScrollBar>(),
        ownName<OrvQTextEdit>(),
        ownName<OrvQLabelEx>(),
        alias<OrvQContainer>("container"),
        alias<OrvQScrollView>("scrollview"),
        alias<OrvQImage>("picture"),
        alias<OrvQImage>("image"),
        alias<OrvQPushButton>("button"),
        alias<OrvQMenuBar>("menubar"),
        alias<OrvQLabel>("label"),
        alias<OrvQCheckBox>("checkbox"),
        alias<OrvQLabel>("label"),
        alias<OrvQListView>("listview", false),
        alias<OrvQProgressBar>("progressbar"),
        alias<OrvQRadioButton>("radio"),
        alias<OrvQRadioButton>("radiobox"),
        alias<OrvQSlider>("slider"),
        alias<OrvQTabWidget>("tab"),
        alias<OrvQLineEdit>("dedit"),
        alias<OrvQComboBox>("combobox"),
        alias<OrvQListView>("templateList"),
        alias<OrvQList>("list"),
        alias<OrvQTreeView>("tree"),
        alias<OrvQTableView>("datagrid"),
        alias<OrvQGroupBox>("groupbox"),
        alias<OrvQSpinBox>("spinbox"),
        alias<OrvQSpinBox>("dnumedit"),
        alias<OrvQCanvas>("canvas"),
        alias<OrvQSplitter>("splitter"),
        alias<OrvQSwitch>("switch"),
    };
}

} // namespace

void Internal::registerBuiltInControls()
{
    for (const BuiltInType &type : builtInTypes())
        registerControl(type.name.constData(), type.creator, type.exposed, type.schema);
}

} // namespace OrvQtLib
