// A test class whose every check fails, one for each kind of value a
// failed comparison shows: the core tests read what it sends, the viewer's
// tests what its log holds.
#pragma once

#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"

#include <cstdint>
#include <limits>
#include <list>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace NPxValueChecks {

enum class EColour { Red = 1, Blue = 7 };

struct SStreamed {
  int x, y;
  bool operator==(const SStreamed& other) const { return x == other.x && y == other.y; }
};
inline std::ostream& operator<<(std::ostream& out, const SStreamed& point) {
  return out << "(" << point.x << ", " << point.y << ")";
}

struct SPrinted {
  int id;
  bool operator==(const SPrinted& other) const { return id == other.id; }
};

struct SOpaque {
  std::uint8_t bytes[4];
  bool operator==(const SOpaque& other) const {
    return std::char_traits<char>::compare(reinterpret_cast<const char*>(bytes),
                                           reinterpret_cast<const char*>(other.bytes), 4) == 0;
  }
};

} // namespace NPxValueChecks

template <> struct CPxValuePrinter<NPxValueChecks::SPrinted> {
  static std::string Text(const NPxValueChecks::SPrinted& value) {
    return "printed #" + std::to_string(value.id);
  }
};

class CPxValueChecks : public CProbex {
public:
  CPxValueChecks() { PX_CAPTION_CLASS("values"); }

  PX_CASE(Numbers) {
    int x = 4, y = 5;
    PX_ASSERT_EQUAL(x, y);
    unsigned u = 4294967295u;
    PX_ASSERT_EQUAL(u, 7u);
    long long big = std::numeric_limits<long long>::min();
    PX_ASSERT_EQUAL(big, 0LL);
    std::size_t count = 3;
    PX_ASSERT_EQUAL(count, -1); // compared as the language does, no warning
    double third = 1.0 / 3.0;
    PX_ASSERT_EQUAL(third, 0.1 + 0.2);
    float f = 0.1f;
    PX_ASSERT_EQUAL(f, 0.2f);
    PX_ASSERT_EQUAL(true, 1 > 2);
    PX_ASSERT_EQUAL(NPxValueChecks::EColour(), NPxValueChecks::EColour::Blue);
  }
  PX_CASE(Characters) {
    char c = 'a';
    PX_ASSERT_EQUAL(c, '\n');
    PX_ASSERT_EQUAL(static_cast<unsigned char>(0xFF), 'q');
    PX_ASSERT_EQUAL('\'', '"');
  }
  PX_CASE(Pointers) {
    int* const at = reinterpret_cast<int*>(0x1000);
    int* p = nullptr;
    PX_ASSERT_EQUAL(p, at);
    PX_ASSERT_EQUAL(at, NULL);
    PX_ASSERT_EQUAL(at, 0);
    PX_ASSERT_EQUAL(at, nullptr);
  }
  PX_CASE(Strings) {
    std::string s = "line one\r\nline two";
    PX_ASSERT_EQUAL(s, "line one");
    PX_ASSERT_STR(s, std::string_view("line one\r\n"));
    PX_ASSERT_STR("abc", "ab\"c\\");
    const char* none = nullptr;
    PX_ASSERT_STR(none, "x");
    std::string nul("a\0b", 3);
    PX_ASSERT_STR(nul, std::string("a\0c", 3));
    PX_ASSERT_STR(std::string(100, 'x') + "BEFORE" + std::string(50, 'y'),
                  std::string(100, 'x') + "AFTER" + std::string(50, 'y'));
    // CP932: the second byte 0x5C of a double-byte character is no escape.
    PX_ASSERT_STR("\x94\x5C", "\x94\x5C\x94\x5C");
    static const unsigned short wide1[] = {'h', 'i', 0x3042, 0};
    static const unsigned short wide2[] = {'h', 'o', 0};
    PX_ASSERT_STR(wide1, wide2);
  }
  PX_CASE(Objects) {
    PX_ASSERT_EQUAL((std::vector<int>{1, 2, 3}), (std::vector<int>{1, 2}));
    std::vector<int> many(20);
    PX_ASSERT_EQUAL(many, std::vector<int>());
    PX_ASSERT_EQUAL((std::list<std::string>{"a", "b\tc"}), std::list<std::string>());
    PX_ASSERT_EQUAL((std::map<int, char>{{1, 'x'}}), (std::map<int, char>{{1, 'y'}}));
    PX_ASSERT_EQUAL((NPxValueChecks::SStreamed{1, 2}), (NPxValueChecks::SStreamed{3, 4}));
    PX_ASSERT_EQUAL(NPxValueChecks::SPrinted{1}, NPxValueChecks::SPrinted{2});
    PX_ASSERT_EQUAL((NPxValueChecks::SOpaque{{1, 0xAB, 0, 255}}),
                    (NPxValueChecks::SOpaque{{1, 2, 3, 4}}));
  }
  PX_CASE(Passing) {
    int x = 4;
    PX_ASSERT_EQUAL(x, 4);
    PX_ASSERT_STR(std::string("same"), "same");
  }
  PX_DECLARATION_END();
};
