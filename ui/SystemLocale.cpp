#include "ui/SystemLocale.h"

#include <QLocale>
#include <cstdlib>
#include <string>

namespace zelk {
namespace {

std::string LocaleName(const char* category) {
    for (const char* variable : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

char SeparatorOf(const std::string& name) {
    const std::string base = name.substr(0, name.find_first_of(".@"));
    const QString point = QLocale(QString::fromStdString(base)).decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80) return static_cast<char>(point.at(0).unicode());
    return '.';
}

}  // namespace

LocaleInfo LocaleFromEnvironment() {
    const std::string timeName = LocaleName("LC_TIME");
    const std::string numericName = LocaleName("LC_NUMERIC");
    LocaleInfo info = LocaleInfo::FromName(timeName, SeparatorOf(timeName));
    info.decimalSeparator = LocaleInfo::FromName(numericName, SeparatorOf(numericName)).decimalSeparator;
    return info;
}

}  // namespace zelk
