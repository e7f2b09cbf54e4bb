// The values of a failed comparison as texts. A check keeps where its two
// values are and how to show them; the texts are made only when it fails,
// mostly inside the library, so a passing check formats nothing and a test
// file compiles little of this.
//
// How a value shows: integers in decimal (unsigned ones also in hex), a
// character quoted with its code, floating point with the digits that tell
// two values apart, bool as true/false, strings quoted with their control
// bytes escaped, pointers in hex or nullptr, a type with operator<< through
// it, a range as { 1, 2, 3 }, a pair as (a, b), otherwise its first bytes
// and its size. To show a type your own way, specialise the printer:
//
//   template <> struct CPxValuePrinter<CPoint> {
//     static std::string Text(const CPoint& p);
//   };
#pragma once

#include "probex/base/PxApi.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// The customisation point: specialise with a static Text(const T&).
template <class T> struct CPxValuePrinter {};

namespace NPxValue {

// The two values as shown; differsAt is the offset of the first difference
// of two strings, -1 for other values.
struct SPair {
  std::string left, right;
  long long differsAt = -1;
};

// A string argument of a check: bytes or 16-bit units, up to a terminator
// or, for a string object, its size.
struct SText {
  const char* bytes = nullptr;
  const unsigned short* units = nullptr;
  std::size_t size = 0;
  bool wide = false;
  bool counted = false;
};

// What a check keeps of its values until it knows its outcome.
struct SKept {
  SPair (*pair)(const void* left, const void* right);
  const void* left;
  const void* right;
};

PX_API std::string SignedText(long long value);
PX_API std::string UnsignedText(unsigned long long value);
PX_API std::string CharText(long long code);
PX_API std::string FloatText(long double value, int digits);
PX_API std::string PointerText(const void* pointer);
PX_API std::string BytesText(const void* object, std::size_t size);
// "{ a, b }"; items holds the first min(count, kListShown) texts.
PX_API std::string ListText(const std::string* items, std::size_t count);
PX_API std::string StreamedText(void (*write)(std::ostream& out, const void* object),
                                const void* object);
PX_API std::string StringText(const SText& text);
// Two strings, long ones shown around where they first differ.
PX_API SPair StringPair(const SText& left, const SText& right);
// Equal in the way of the check: up to the terminator, or whole objects.
PX_API bool SameText(const SText& left, const SText& right);

constexpr std::size_t kListShown = 16;

inline SText TextOf(const char* text) {
  SText view;
  view.bytes = text;
  return view;
}
inline SText TextOf(const unsigned short* text) {
  SText view;
  view.units = text;
  view.wide = true;
  return view;
}
inline SText TextOf(std::string_view text) {
  SText view;
  view.bytes = text.data() ? text.data() : "";
  view.size = text.size();
  view.counted = true;
  return view;
}
// A character array shown as a value need not hold its terminator: it ends
// at its size.
template <std::size_t N> SText ArrayText(const char (&text)[N]) {
  std::size_t size = 0;
  while (size < N && text[size])
    ++size;
  return TextOf(std::string_view(text, size));
}
template <class T> SText Shown(const T& text) {
  if constexpr (std::is_array_v<T>)
    return ArrayText(text);
  else
    return TextOf(text);
}

// The pointer PX_ASSERT_STR hands on for a terminated string.
inline const char* Terminated(const char* text) {
  return text;
}
inline const unsigned short* Terminated(const unsigned short* text) {
  return text;
}
inline const char* Terminated(std::string_view text) {
  return text.data();
}

template <class T, class = void> struct HasPrinter : std::false_type {};
template <class T>
struct HasPrinter<T, std::void_t<decltype(CPxValuePrinter<T>::Text(std::declval<const T&>()))>>
    : std::true_type {};

template <class T, class = void> struct HasStream : std::false_type {};
template <class T>
struct HasStream<T,
                 std::void_t<decltype(std::declval<std::ostream&>() << std::declval<const T&>())>>
    : std::true_type {};

template <class T, class = void> struct IsRange : std::bool_constant<std::is_array_v<T>> {};
template <class T>
struct IsRange<
    T, std::void_t<decltype(std::declval<const T&>().begin() != std::declval<const T&>().end())>>
    : std::true_type {};

template <class T, class = void> struct IsPair : std::false_type {};
template <class T>
struct IsPair<T, std::void_t<decltype(std::declval<const T&>().first),
                             decltype(std::declval<const T&>().second)>> : std::true_type {};

template <class T>
constexpr bool kIsByteString = std::is_same_v<T, std::string> ||
                               std::is_same_v<T, std::string_view> ||
                               std::is_same_v<T, const char*> || std::is_same_v<T, char*> ||
                               (std::is_array_v<T> &&
                                std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, char>);

template <class T>
constexpr bool kIsChar =
    std::is_same_v<T, char> || std::is_same_v<T, signed char> || std::is_same_v<T, unsigned char> ||
    std::is_same_v<T, wchar_t> || std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>;

template <class T> void WriteTo(std::ostream& out, const void* object) {
  out << *static_cast<const T*>(object);
}

template <class T> std::string Text(const T& value);

template <class T> std::string RangeText(const T& range) {
  std::string items[kListShown];
  std::size_t count = 0;
  for (const auto& item : range)
    if (count++ < kListShown)
      items[count - 1] = Text(item);
  return ListText(items, count);
}

template <class T> std::string Text(const T& value) {
  using U = std::remove_cv_t<T>;
  if constexpr (HasPrinter<U>::value)
    return CPxValuePrinter<U>::Text(value);
  else if constexpr (std::is_same_v<U, bool>)
    return value ? "true" : "false";
  else if constexpr (kIsChar<U>)
    return CharText(static_cast<long long>(value));
  else if constexpr (std::is_integral_v<U> && std::is_signed_v<U>)
    return SignedText(value);
  else if constexpr (std::is_integral_v<U>)
    return UnsignedText(value);
  else if constexpr (std::is_floating_point_v<U>)
    return FloatText(value, sizeof(U) <= sizeof(float) ? 9 : sizeof(U) <= sizeof(double) ? 17 : 21);
  else if constexpr (std::is_same_v<U, std::nullptr_t>)
    return "nullptr";
  else if constexpr (kIsByteString<U>)
    return StringText(Shown(value));
  else if constexpr (std::is_pointer_v<U>)
    return PointerText(reinterpret_cast<const void*>(value));
  else if constexpr (HasStream<U>::value)
    return StreamedText(&WriteTo<U>, &reinterpret_cast<const char&>(value));
  else if constexpr (std::is_enum_v<U>)
    return Text(static_cast<std::underlying_type_t<U>>(value));
  else if constexpr (IsRange<U>::value)
    return RangeText(value);
  else if constexpr (IsPair<U>::value)
    return "(" + Text(value.first) + ", " + Text(value.second) + ")";
  else
    return BytesText(&reinterpret_cast<const char&>(value), sizeof value);
}

template <class L, class R> SPair PairOf(const void* left, const void* right) {
  const L& l = *static_cast<const L*>(left);
  const R& r = *static_cast<const R*>(right);
  if constexpr (kIsByteString<L> && kIsByteString<R>)
    return StringPair(Shown(l), Shown(r));
  else
    return SPair{Text(l), Text(r), -1};
}

template <class L, class R> SKept Keep(const L& left, const R& right) {
  return SKept{&PairOf<L, R>, &reinterpret_cast<const char&>(left),
               &reinterpret_cast<const char&>(right)};
}

template <class L, class R, class = void> struct CanCompare : std::false_type {};
template <class L, class R>
struct CanCompare<L, R, std::void_t<decltype(std::declval<const L&>() == std::declval<const R&>())>>
    : std::true_type {};

// The comparison of the two sides as they were written. A literal 0 or
// NULL compared with a pointer arrives here as an integer: it meant the
// null pointer. Comparing signed with unsigned is the test's own choice.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
#elif defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4018 4389)
#endif
template <class L, class R> bool Equal(const L& left, const R& right) {
  if constexpr (!CanCompare<L, R>::value && std::is_integral_v<R> &&
                CanCompare<L, std::nullptr_t>::value)
    return left == nullptr;
  else if constexpr (!CanCompare<L, R>::value && std::is_integral_v<L> &&
                     CanCompare<std::nullptr_t, R>::value)
    return nullptr == right;
  else
    return left == right;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif

inline SPair TextPairOf(const void* left, const void* right) {
  return StringPair(*static_cast<const SText*>(left), *static_cast<const SText*>(right));
}
inline SKept KeepTexts(const SText& left, const SText& right) {
  return SKept{&TextPairOf, &left, &right};
}

} // namespace NPxValue
