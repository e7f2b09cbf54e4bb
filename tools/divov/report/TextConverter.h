// Converts CP932 text to another encoding (UTF-8 for files, the terminal's
// encoding for standard output). A byte that cannot be converted becomes a
// replacement character and is counted; conversion never stops on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CTextConverter {
public:
  // An encoding name as iconv knows it; false from Valid() when unknown.
  explicit CTextConverter(const std::string& toEncoding);
  ~CTextConverter();
  CTextConverter(const CTextConverter&) = delete;
  CTextConverter& operator=(const CTextConverter&) = delete;

  bool Valid() const { return m_handle != nullptr; }
  // Appends the converted text to out.
  void Convert(std::string_view cp932, std::string& out);
  std::uint64_t ReplacedBytes() const { return m_replaced; }

private:
  void m_ByIconv(std::string_view cp932, std::string& out);

  void* m_handle = nullptr; // iconv_t; UTF-8 goes by table instead
  bool m_toUtf8 = false;
  std::string m_replacement;
  std::uint64_t m_replaced = 0;
};
