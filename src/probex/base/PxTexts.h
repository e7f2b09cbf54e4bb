// Every Japanese text the library sends, as CP932 bytes. Octal escapes keep
// the bytes right whatever the compiler's source and execution character sets
// are (several characters here have 0x5C, a backslash, as their second byte).
#pragma once

namespace NPxText {

// Run: the class has no caption:
// Warning:テストクラスのCaptionがありません。テストクラスのコンストラクタにて、PX_CAPTION_CLASS()を使用してください。
inline constexpr char kCaptionWarning[] =
    "Warning:"
    "\203e\203X\203g\203N\203\211\203X\202\314Caption\202\252\202\240\202\350\202\334\202\271\202"
    "\361\201B\203e\203X\203g\203N\203\211\203X\202\314\203R\203\223\203X\203g\203\211\203N\203^"
    "\202\311\202\304\201APX_CAPTION_CLASS()"
    "\202\360\216g\227p\202\265\202\304\202\255\202\276\202\263\202\242\201B";
// RunMain: no end marker met:
// Warrning;テストクラスの最下に「PX_DECLARATION_END()」が無い可能性があります。
inline constexpr char kEndMarkerWarning[] =
    "Warrning;\203e\203X\203g\203N\203\211\203X\202\314\215\305\211\272\202\311\201uPX_DECLARATION_"
    "END()"
    "\201v\202\252\226\263\202\242\211\302\224\134\220\253\202\252\202\240\202\350\202\334\202\267"
    "\201B";
// appended to the expression of a failed check:   ？
inline constexpr char kFalseSuffix[] = "  \201H";
// a check passed: 一致しました
inline constexpr char kMatched[] = "\210\352\222v\202\265\202\334\202\265\202\275";
// x_Assert failed: '%s' は true になりませんでした
inline constexpr char kAssertNg[] =
    "'%s' \202\315 true \202\311\202\310\202\350\202\334\202\271\202\361\202\305\202\265\202\275";
// x_AssertCompare failed: '%s' は '%s' になりませんでした
inline constexpr char kCompareNg[] =
    "'%s' \202\315 '%s' \202\311\202\310\202\350\202\334\202\271\202\361\202\305\202\265\202\275";
// x_AssertException passed: try{ %s }において、期待の例外(%s)が発生しました。
inline constexpr char kExceptionOk[] =
    "try{ %s "
    "}\202\311\202\250\202\242\202\304\201A\212\372\221\322\202\314\227\341\212O(%s)"
    "\202\252\224\255\220\266\202\265\202\334\202\265\202\275\201B";
// x_AssertException failed: try{ %s }において、期待の例外(%s)が発生しませんでした。
inline constexpr char kExceptionNg[] =
    "try{ %s "
    "}\202\311\202\250\202\242\202\304\201A\212\372\221\322\202\314\227\341\212O(%s)"
    "\202\252\224\255\220\266\202\265\202\334\202\271\202\361\202\305\202\265\202\275\201B";
// x_IsAssertCount failed: 偽の数は %d でした。
inline constexpr char kCountNg[] = "\213U\202\314\220\224\202\315 %d \202\305\202\265\202\275\201B";
// x_IsAssertCount expression: ASSERT/VERIFYで偽になった数 == %d
inline constexpr char kCountExpression[] =
    "ASSERT/VERIFY\202\305\213U\202\311\202\310\202\301\202\275\220\224 == %d";
// x_IsAssertCount with nothing counted: ASSERT/VERIFYで偽になった数は０。
inline constexpr char kCountZeroExpression[] =
    "ASSERT/VERIFY\202\305\213U\202\311\202\310\202\301\202\275\220\224\202\315\202O\201B";
// ASSERT/VERIFY failures left after a test: テスト中、ASSERT/VERIFYの評価式が %d回、偽になりました
inline constexpr char kPendingAssertNg[] =
    "\203e\203X\203g\222\206\201AASSERT/VERIFY\202\314\225]\211\277\216\256\202\252 "
    "%d\211\361\201A\213U\202\311\202\310\202\350\202\334\202\265\202\275";
// heading of a suite's results block: ========結果========
inline constexpr char kSuiteResultsHeading[] = "========\214\213\211\312========";
// the labels of a class's three result lines, each followed by its count
inline constexpr char kResultCases[] = "Case     \t";
inline constexpr char kResultExceptions[] = "Exception\t";
inline constexpr char kResultFailures[] = "Failures \t";
// caption of the missing-viewer notice: Q-Probex
inline constexpr char kViewerMissingCaption[] = "Q-Probex";
// the viewer program cannot be started:
// PxViewerが見つかりません。\nQ-Probexが正しくインストールされていない可能性があります。
inline constexpr char kViewerMissing[] =
    "PxViewer\202\252\214\251\202\302\202\251\202\350\202\334\202\271\202\361\201B\nQ-"
    "Probex\202\252\220\263\202\265\202\255\203C\203\223\203X\203g\201["
    "\203\213\202\263\202\352\202\304\202\242\202\310\202\242\211\302\224\134\220\253\202\252\202"
    "\240\202\350\202\334\202\267\201B";
// KRN::CNullPointerException: NULLポインタです。
inline constexpr char kNullPointer[] = "NULL\203|\203C\203\223\203^\202\305\202\267\201B";
// KRN::CIndexOutOfBoundsException: INDEXが範囲外です。
inline constexpr char kIndexOutOfBounds[] =
    "INDEX\202\252\224\315\210\315\212O\202\305\202\267\201B";
// KRN::CInvalidParamException: パラメータが不正です。
inline constexpr char kInvalidParam[] =
    "\203p\203\211\203\201\201[\203^\202\252\225s\220\263\202\305\202\267\201B";
// KRN::CNotSupportException: サポートされていません。
inline constexpr char kNotSupport[] =
    "\203T\203|\201[\203g\202\263\202\352\202\304\202\242\202\334\202\271\202\361\201B";

} // namespace NPxText
