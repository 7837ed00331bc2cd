#include "orvqtlib.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(QMargins)

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000, Green = 0xff00ff00, Blue = 0xff0000ff, White = 0xffffffff, Black = 0xff000000,
           Yellow = 0xffffff00, Magenta = 0xffff00ff;

int messages = 0;

template <class Field>
std::unique_ptr<Field> makeField(const QByteArray &element, QSize size = QSize(120, 30))
{
    auto field = std::make_unique<Field>();
    field->loadFromJson(parseJson(element));
    field->loadFinished();
    field->resize(size);
    return field;
}

void send(QWidget *widget, QEvent::Type type)
{
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        QFocusEvent event(type, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    } else {
        QEvent event(type);
        QCoreApplication::sendEvent(widget, &event);
    }
}

bool pressKey(QWidget *widget, int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    return press.isAccepted();
}

bool hasColor(const QImage &image, QRgb color, const QRect &area)
{
    return !boxOf(image.copy(area), color, 40).isEmpty();
}

// A line edit or a text edit, and a way to set its text.
std::pair<std::unique_ptr<QWidget>, std::function<void(const QString &)>> makeEither(bool textEdit,
                                                                                   const QByteArray &element)
{
    if (textEdit) {
        auto edit = makeField<OrvQTextEdit>(element);
        auto *raw = edit.get();
        return {std::move(edit), [raw](const QString &text) { raw->setPlainText(text); }};
    }
    auto edit = makeField<OrvQLineEdit>(element);
    auto *raw = edit.get();
    return {std::move(edit), [raw](const QString &text) { raw->setText(text); }};
}

} // namespace

class TestTextInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initialize();
        QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
        OrvQResourceManager::instance().parseStyles(parseJson(R"([
            {"type": 2, "name": "fontZero", "clr": "ff0000", "size": 0},
            {"type": 2, "name": "fontNegative", "clr": "0000ff", "size": -8}])"));
    }

    void shortcutCapture_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        const int ctrlAltShift = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
        QTest::newRow("all three modifiers") << int(Qt::Key_Z) << ctrlAltShift << "CTRL+ALT+SHIFT+Z" << true;
        QTest::newRow("alt") << int(Qt::Key_Q) << int(Qt::AltModifier) << "ALT+Q" << true;
        QTest::newRow("F5") << int(Qt::Key_F5) << 0 << "F5" << true;
        QTest::newRow("F35") << int(Qt::Key_F35) << int(Qt::ShiftModifier) << "F35" << true;
        QTest::newRow("backspace clears") << int(Qt::Key_Backspace) << 0 << "" << true;
        QTest::newRow("digit is not used") << int(Qt::Key_5) << 0 << "old" << false;
        QTest::newRow("escape is not used") << int(Qt::Key_Escape) << 0 << "old" << false;
    }

    void shortcutCapture()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        auto edit = makeField<OrvQLineEdit>(R"({"attr": {"shortcut": true, "text": "old"}})");
        QKeyEvent override(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers));
        QCoreApplication::sendEvent(edit.get(), &override);
        // Claimed keys never reach a window's shortcuts; others always may.
        QCOMPARE(override.isAccepted(), accepted);
        QCOMPARE(pressKey(edit.get(), key, Qt::KeyboardModifiers(modifiers), QStringLiteral("5")), accepted);
        QCOMPARE(edit->text(), text);
    }

    void captureInADialog()
    {
        QDialog dialog;
        auto *edit = new OrvQLineEdit(&dialog);
        edit->loadFromJson(parseJson(R"({"attr": {"shortcut": true}})"));
        auto *action = new QAction(&dialog);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
        dialog.addAction(action);
        QSignalSpy fired(action, &QAction::triggered);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        edit->setFocus();
        // Capture has the keys it uses before the window's shortcuts ...
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(edit->text(), QStringLiteral("CTRL+SHIFT+A"));
        QCOMPARE(fired.count(), 0);
        // ... and leaves the others to the dialog.
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(rejected.count(), 1);
    }

    void password_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("select all") << QKeySequence(QKeySequence::SelectAll) << "secret";
        QTest::newRow("copy") << QKeySequence(QKeySequence::Copy) << "secret";
        QTest::newRow("paste") << QKeySequence(QKeySequence::Paste) << "secret";
        QTest::newRow("typing works") << QKeySequence(Qt::Key_X) << "secrex";
    }

    void password()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, text);
        auto edit = makeField<OrvQLineEdit>(R"({"attr": {"ispassord": true, "text": "secret"}})");
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!edit->dragEnabled());
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        edit->setSelection(5, 1); // the last letter, so a paste or a key would replace it
        const int key = keys[0] & ~Qt::KeyboardModifierMask;
        const auto modifiers = Qt::KeyboardModifiers(keys[0] & Qt::KeyboardModifierMask);
        pressKey(edit.get(), key, modifiers, key == Qt::Key_X ? QStringLiteral("x") : QString());
        QCOMPARE(edit->text(), text);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));
        QCOMPARE(edit->selectedText().size(), key == Qt::Key_X ? 0 : 1);
    }

    void margins_data()
    {
        QTest::addColumn<QByteArray>("attr");
        QTest::addColumn<QMargins>("lineEdit"); // text margins
        QTest::addColumn<QMargins>("textEdit"); // contents margins
        QTest::newRow("left only") << QByteArray(R"({"leftMargin": 6})") << QMargins(6, 0, 6, 0) << QMargins(6, 0, 0, 0);
        QTest::newRow("explicit zero bottom") << QByteArray(R"({"topMargin": 3, "bottomMargin": 0})")
                                              << QMargins(0, 3, 0, 0) << QMargins(0, 3, 0, 0);
        QTest::newRow("attr without margins resets") << QByteArray("{}") << QMargins() << QMargins();
        QTest::newRow("clamped, wrong types absent")
            << QByteArray(R"({"leftMargin": -5, "topMargin": 1e12, "rightMargin": "4", "bottomMargin": [2]})")
            << QMargins(0, QWIDGETSIZE_MAX, 0, QWIDGETSIZE_MAX) << QMargins(0, QWIDGETSIZE_MAX, 0, 0);
    }

    void margins()
    {
        QFETCH(QByteArray, attr);
        QFETCH(QMargins, lineEdit);
        QFETCH(QMargins, textEdit);
        const QByteArray first = R"({"attr": {"leftMargin": 9, "topMargin": 9, "rightMargin": 9, "bottomMargin": 9}})";
        auto edit = makeField<OrvQLineEdit>(first);
        auto text = makeField<OrvQTextEdit>(first);
        // A load without "attr" keeps them.
        edit->loadFromJson(parseJson("{}"));
        text->loadFromJson(parseJson("{}"));
        QCOMPARE(edit->textMargins(), QMargins(9, 9, 9, 9));
        QCOMPARE(text->viewportMargins(), QMargins(9, 9, 9, 9));
        edit->loadFromJson(parseJson(R"({"attr": )" + attr + "}"));
        text->loadFromJson(parseJson(R"({"attr": )" + attr + "}"));
        QCOMPARE(edit->textMargins(), lineEdit);
        QCOMPARE(text->viewportMargins(), textEdit);
    }

    void focusHoldsTheLook_data()
    {
        QTest::addColumn<bool>("textEdit");
        QTest::addColumn<QList<int>>("events");
        QTest::addColumn<QRgb>("background");
        QTest::addColumn<QRgb>("textColor");
        const QList<int> enter{QEvent::Enter}, enterLeave{QEvent::Enter, QEvent::Leave},
            focusEnter{QEvent::FocusIn, QEvent::Enter}, focusEnterLeave{QEvent::FocusIn, QEvent::Enter, QEvent::Leave},
            focusOut{QEvent::FocusIn, QEvent::Leave, QEvent::FocusOut};
        for (bool textEdit : {false, true}) {
            const char *kind = textEdit ? "text edit: " : "line edit: ";
            QTest::addRow("%shover", kind) << textEdit << enter << Green << Black;
            QTest::addRow("%sleave", kind) << textEdit << enterLeave << Red << Black;
            QTest::addRow("%sfocus through hover", kind) << textEdit << focusEnter << Blue << Red;
            QTest::addRow("%sfocus through leave", kind) << textEdit << focusEnterLeave << Blue << Red;
            QTest::addRow("%sfocus out", kind) << textEdit << focusOut << Red << Black;
        }
    }

    void focusHoldsTheLook()
    {
        QFETCH(bool, textEdit);
        QFETCH(QList<int>, events);
        QFETCH(QRgb, background);
        QFETCH(QRgb, textColor);
        const QByteArray element = R"({"style": [ ["red", 0, 0], ["green", 0, 1], ["blue", 0, 2],
            ["fontBlack", 0, 4], ["fontRed", 0, 6]]})";
        auto field = makeEither(textEdit, element).first;
        for (int type : events)
            send(field.get(), QEvent::Type(type));
        QCOMPARE(renderOf(*field).pixel(3, 3), background);
        QCOMPARE(field->palette().color(QPalette::Text).rgba(), textColor);
    }

    void tip_data()
    {
        QTest::addColumn<bool>("textEdit");
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<QRgb>("tip");
        // Slot 4 sets the tip font too; slot 8 sorting after it changes only the tip.
        const QByteArray later = R"({"a": ["fontBlack", 0, 4], "b": ["fontRed", 0, 8]})";
        const QByteArray earlier = R"({"a": ["fontRed", 0, 8], "b": ["fontBlack", 0, 4]})";
        for (bool textEdit : {false, true}) {
            const char *kind = textEdit ? "text edit: " : "line edit: ";
            QTest::addRow("%sslot 8 after slot 4", kind) << textEdit << later << Red;
            QTest::addRow("%sslot 4 after slot 8", kind) << textEdit << earlier << Black;
        }
    }

    void tip()
    {
        QFETCH(bool, textEdit);
        QFETCH(QByteArray, style);
        QFETCH(QRgb, tip);
        const QByteArray element = R"({"style": )" + style + R"(, "attr": {"tip": "WWWW"}})";
        auto [field, setText] = makeEither(textEdit, element);
        const QRect area(0, 0, 120, 30);
        QVERIFY(hasColor(renderOf(*field), tip, area));
        setText(QStringLiteral("i"));
        QVERIFY(!hasColor(renderOf(*field), Red, area));
        setText(QString());
        QVERIFY(hasColor(renderOf(*field), tip, area));
    }

    void focusOutSlotDeletesTheField()
    {
        // Sent as Qt sends it: after a change of the text, once.
        auto edit = std::make_unique<OrvQLineEdit>();
        QSignalSpy finished(edit.get(), &QLineEdit::editingFinished);
        for (const QString &text : {QString(), QStringLiteral("a"), QStringLiteral("a")}) {
            edit->setText(text);
            send(edit.get(), QEvent::FocusIn);
            send(edit.get(), QEvent::FocusOut);
        }
        QCOMPARE(finished.count(), 1);
        pressKey(edit.get(), Qt::Key_X, {}, QStringLiteral("x"));
        send(edit.get(), QEvent::FocusIn);
        connect(edit.get(), &QLineEdit::editingFinished, this, [&edit] { edit.reset(); });
        send(edit.get(), QEvent::FocusOut); // under ASan: no use after free
        QVERIFY(!edit);
    }

    void textEditImages_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("shown");
        QTest::newRow("package member") << "images/icon.png" << true;
        QTest::newRow("absolute path") << "{absolute}" << false;
        QTest::newRow("file url") << "file://{absolute}" << false;
        QTest::newRow("relative path on disk") << "{relative}" << false;
    }

    void textEditImages()
    {
        QFETCH(QString, source);
        QFETCH(bool, shown);
        // A yellow picture on disk, the colour of the package's icon.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("icon.png"));
        QImage picture(8, 8, QImage::Format_ARGB32);
        picture.fill(Yellow);
        QVERIFY(picture.save(path));
        source.replace(QLatin1String("{absolute}"), path);
        source.replace(QLatin1String("{relative}"), QDir::current().relativeFilePath(path));
        auto text = makeField<OrvQTextEdit>("{\"attr\": {\"text\": \"<p>a<img src=" + source.toUtf8() + "></p>\"}}");
        QVERIFY(text->document()->toHtml().contains(QLatin1String("<img")));
        QCOMPARE(hasColor(renderOf(*text), Yellow, QRect(0, 0, 120, 30)), shown);
    }

    void comboLook_data()
    {
        QTest::addColumn<QByteArray>("attr");
        QTest::addColumn<bool>("hovered");
        QTest::addColumn<QRgb>("icon"); // at the centre of the button
        const QByteArray hotOnly = R"({"btnHotIcon": "images/hot.png"})";
        const QByteArray both = R"({"btnHotIcon": "images/hot.png", "btnIcon": "images/icon.png"})";
        QTest::newRow("hot icon alone, normal") << hotOnly << false << Blue;
        QTest::newRow("hot icon alone, hovered") << hotOnly << true << Magenta;
        QTest::newRow("both, normal") << both << false << Yellow;
        QTest::newRow("both, hovered: hot icon wins") << both << true << Magenta;
    }

    void comboLook()
    {
        QFETCH(QByteArray, attr);
        QFETCH(bool, hovered);
        QFETCH(QRgb, icon);
        auto combo = makeField<OrvQComboBox>(R"({"style": [ ["red", 0, 0], ["blue", 0, 4], ["fontBlack", 0, 8]],
            "attr": )" + attr + "}", QSize(120, 30));
        combo->addItem(QString(40, QLatin1Char('W')));
        if (hovered)
            send(combo.get(), QEvent::Enter);
        const QImage image = renderOf(*combo);
        QCOMPARE(image.pixel(105, 15), icon);
        QCOMPARE(image.pixel(91, 1), Blue); // the button is (W - H, 0, H, H)
        QCOMPARE(image.pixel(89, 1), Red);
        // The text stops before the button.
        QVERIFY(hasColor(image, Black, QRect(0, 0, 90, 30)));
        QVERIFY(!hasColor(image, Black, QRect(90, 0, 30, 30)));
    }

    void comboPopup_data()
    {
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<QRgb>("background"); // below the rows
        QTest::addColumn<QRgb>("normalRow");
        QTest::addColumn<QRgb>("hoveredSelectedRow");
        QTest::newRow("slot 12: popup background only") << QByteArray(R"([ ["green", 0, 12]])") << Green << White
                                                        << White;
        QTest::newRow("slot 13: every row state") << QByteArray(R"([ ["red", 0, 13]])") << White << Red << Red;
        QTest::newRow("hover before selection")
            << QByteArray(R"([ ["red", 0, 13], ["blue", 0, 14], ["yellow", 0, 15], ["fontBig", 0, 17]])") << White
            << Red << Blue;
    }

    void comboPopup()
    {
        QFETCH(QByteArray, style);
        QFETCH(QRgb, background);
        QFETCH(QRgb, normalRow);
        QFETCH(QRgb, hoveredSelectedRow);
        auto combo = makeField<OrvQComboBox>(R"({"style": )" + style + "}", QSize(120, 30));
        combo->impl()->addSampleItems();
        QCOMPARE(combo->currentText(), QStringLiteral("Item1"));
        combo->show();
        QVERIFY(QTest::qWaitForWindowExposed(combo.get()));
        combo->showPopup();
        OrvQComboList *list = combo->comboList();
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->model()->rowCount(), 3);
        QCOMPARE(list->visualRect(list->model()->index(1, 0)).height(), 25);
        // The popup is the view alone: no frame around it.
        QCOMPARE(list->parentWidget()->size(), list->size());
        list->parentWidget()->resize(list->width(), 100);
        list->resize(list->width(), 100);
        QMouseEvent move(QEvent::MouseMove, list->visualRect(list->model()->index(0, 0)).center(), Qt::NoButton,
                         Qt::NoButton, {});
        QCoreApplication::sendEvent(list->viewport(), &move);
        const QImage popup = renderOf(*list);
        QCOMPARE(popup.pixel(2, 2), hoveredSelectedRow); // row 0: current, selected and hovered
        QCOMPARE(popup.pixel(2, 27), normalRow);
        QCOMPARE(popup.pixel(2, 90), background);
        combo->hidePopup();
        QCOMPARE(renderOf(*combo).pixel(2, 2), White); // the popup's slots leave the control alone
    }

    void comboTextAndPress()
    {
        // "text" twice: two items, the one added last current.
        auto combo = makeField<OrvQComboBox>(R"({"attr": {"text": "same"}})");
        combo->loadFromJson(parseJson(R"({"attr": {"text": "same"}})"));
        combo->loadFinished(); // not a layout tool: no sample items
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentIndex(), 1);
        // The release goes to the popup; closing it ends the pressed look.
        combo->show();
        QVERIFY(QTest::qWaitForWindowExposed(combo.get()));
        QTest::mousePress(combo.get(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(combo->impl()->state(), StatePressed);
        QTRY_VERIFY(combo->comboList()->isVisible());
        combo->hidePopup();
        QCOMPARE(combo->impl()->state(), StateNormal);
    }

    void comboListOutlivesTheImpl()
    {
        QWidget host;
        auto *impl = new OrvQComboBoxImpl(&host);
        OrvQComboList list(impl);
        QStandardItemModel model;
        model.appendRow(new QStandardItem(QStringLiteral("row")));
        list.setModel(&model);
        list.resize(100, 60);
        delete impl;
        QCOMPARE(list.sizeHintForRow(0), OrvQComboBoxImpl::PopupRowHeight);
        renderOf(list); // under ASan: nothing reaches the deleted Impl
    }

    void hostileValues_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<QString>("typeName");
        const QByteArray style = R"("style": [ ["red", 0, -1], ["red", 0, 1e20], ["fontRed", "4", 4], [null, 0, 0],
            ["nosuch", 0, 2], "red", ["blue", 0, 2147483647], ["fontZero", 0, 5], ["fontNegative", 0, 6]])";
        const std::pair<const char *, QString> types[]{
            {"dedit", "qtdedit"}, {"qttext", "qttext"}, {"combobox", "qtcombobox"}};
        for (const auto &[type, typeName] : types) {
            QTest::addRow("%s: wrong types", type)
                << QByteArray(type)
                << (R"({"w": 1e12, "h": -4, )" + style + R"(, "attr": {"text": 5, "tip": [], "ispassord": "yes",
                    "shortcut": {}, "leftMargin": "x", "topMargin": null, "btnIcon": 7, "btnHotIcon": false}})")
                << typeName;
            QTest::addRow("%s: extremes", type)
                << QByteArray(type)
                << QByteArray(R"({"w": 2, "h": 60, "style": [ ["fontZero", 0, 4]], "attr": {"text":
                    "<img src=images/../x.png width=99999999 height=99999999>", "leftMargin": 2147483647,
                    "rightMargin": -2147483648, "topMargin": 1e300, "btnIcon": "images/missing.png"},
                    "child": [{"type": "qtscrollbar", "w": 1e12, "attr": {"size": -3}}]})")
                << typeName;
        }
    }

    void hostileValues()
    {
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, element);
        QFETCH(QString, typeName);
        messages = 0;
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &) {
                // Only Qt's; the toolkit reports what it clamps on its own category.
                if (qstrcmp(context.category, "orvqtlib.skin") != 0)
                    ++messages;
            });
        QWidget host;
        host.resize(200, 100);
        QWidget *widget = createControl(type.constData(), parseJson(element), &host);
        QVERIFY(widget);
        controlInterface(widget)->loadFinished();
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        // Sizes of 0 or less are never given to a font, which would warn.
        for (QEvent::Type event : {QEvent::Enter, QEvent::FocusIn, QEvent::Leave, QEvent::FocusOut}) {
            send(widget, event);
            renderOf(host);
        }
        qInstallMessageHandler(previous);
        QCOMPARE(messages, 0);
        QCOMPARE(controlInterface(widget)->typeName(), typeName);
    }
};

QTEST_MAIN(TestTextInput)
#include "tst_textinput.moc"
