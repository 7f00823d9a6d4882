// The program's texts are UTF-8; Qt's are QStrings.
#pragma once

#include <QString>
#include <string_view>

namespace brenavo::qt {

inline QString fromProgramText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace brenavo::qt
