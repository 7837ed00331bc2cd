#include "skinlog.h"

namespace OrvQtLib {

Q_LOGGING_CATEGORY(lcSkin, "orvqtlib.skin", QtWarningMsg)

} // namespace OrvQtLib
