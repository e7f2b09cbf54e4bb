// The readable form of every text, converted by iconv and compared with the
// bytes that the library sends.
#pragma once

#include "probex/base/PxTexts.h"

struct SPxReadableText {
  const char* bytes;
  const char* utf8;
};

inline const SPxReadableText kPxReadableTexts[] = {
    {NPxText::kCaptionWarning,
     "Warning:テストクラスのCaptionがありません。テストクラスのコンストラクタにて、PX_CAPTION_"
     "CLASS()を使用してください。"},
    {NPxText::kEndMarkerWarning,
     "Warrning;テストクラスの最下に「PX_DECLARATION_END()」が無い可能性があります。"},
    {NPxText::kFalseSuffix, "  ？"},
    {NPxText::kMatched, "一致しました"},
    {NPxText::kAssertNg, "'%s' は true になりませんでした"},
    {NPxText::kCompareNg, "'%s' は '%s' になりませんでした"},
    {NPxText::kExceptionOk, "try{ %s }において、期待の例外(%s)が発生しました。"},
    {NPxText::kExceptionNg, "try{ %s }において、期待の例外(%s)が発生しませんでした。"},
    {NPxText::kCountNg, "偽の数は %d でした。"},
    {NPxText::kCountExpression, "ASSERT/VERIFYで偽になった数 == %d"},
    {NPxText::kCountZeroExpression, "ASSERT/VERIFYで偽になった数は０。"},
    {NPxText::kPendingAssertNg, "テスト中、ASSERT/VERIFYの評価式が %d回、偽になりました"},
    {NPxText::kSuiteResultsHeading, "========結果========"},
    {NPxText::kViewerMissingCaption, "Q-Probex"},
    {NPxText::kViewerMissing,
     "PxViewerが見つかりません。\nQ-Probexが正しくインストールされていない可能性があります。"},
    {NPxText::kNullPointer, "NULLポインタです。"},
    {NPxText::kIndexOutOfBounds, "INDEXが範囲外です。"},
    {NPxText::kInvalidParam, "パラメータが不正です。"},
    {NPxText::kNotSupport, "サポートされていません。"},
};
