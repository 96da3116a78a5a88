#pragma once

#include "data/Locale.h"

namespace zelk {

// The locale of the process environment: the month names and locale identifier from
// LC_ALL, LC_TIME or LANG, the decimal separator from LC_ALL, LC_NUMERIC or LANG (the
// first that is set and not empty). For locales the core does not know, the
// separator comes from Qt's locale data.
LocaleInfo LocaleFromEnvironment();

}  // namespace zelk
