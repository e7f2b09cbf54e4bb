#include "report/MarkupText.h"

#include "probex/base/PxControlText.h"

void CMarkupText::Append(std::string& out, std::string_view cp932) {
  m_utf8.clear();
  m_converter.Convert(cp932, m_utf8);
  AppendUtf8(out, m_utf8);
}

void CMarkupText::AppendUtf8(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    case '\'':
      out += "&#39;";
      break;
    default:
      NPxControlText::Append(out, std::string_view(&c, 1), "\t\n");
      break;
    }
  }
}
