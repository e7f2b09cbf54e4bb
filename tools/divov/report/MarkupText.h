// Text for HTML and XML: CP932 converted to UTF-8 with the markup
// characters escaped and control characters shown as \xNN.
#pragma once

#include "report/TextConverter.h"

#include <string>
#include <string_view>

class CMarkupText {
public:
  CMarkupText() : m_converter("UTF-8") {}

  // Appends the CP932 text, converted and escaped, to out.
  void Append(std::string& out, std::string_view cp932);
  // The same for text that is UTF-8 already, such as a file name.
  static void AppendUtf8(std::string& out, std::string_view utf8);
  std::string operator()(std::string_view cp932) {
    std::string out;
    Append(out, cp932);
    return out;
  }

private:
  CTextConverter m_converter;
  std::string m_utf8;
};
