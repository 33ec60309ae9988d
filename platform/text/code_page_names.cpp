// Which iconv converter serves each code page of the charset table.
#include "platform/text/code_page_converter.h"

#include <algorithm>
#include <iterator>

namespace plumet::text {
namespace {

struct CodePageConverter {
  int codePage;
  const char* converter;
};

// Sorted by code page. Code pages glibc has no converter for (DOS-720,
// the Mac Far East, Arabic, Hebrew, Greek and Turkish sets, IA5, Europa,
// HZ, ISCII and two EBCDIC sets) are absent and fall back to the default.
constexpr CodePageConverter kConverters[] = {
    {37, "IBM037"},          {420, "IBM420"},         {437, "IBM437"},
    {708, "ASMO-708"},       {737, "CP737"},          {775, "IBM775"},
    {850, "IBM850"},         {852, "IBM852"},         {857, "IBM857"},
    {861, "IBM861"},         {862, "IBM862"},         {866, "IBM866"},
    {869, "IBM869"},         {870, "IBM870"},         {874, "CP874"},
    {875, "IBM875"},         {932, "CP932"},          {936, "CP936"},
    {949, "CP949"},          {950, "CP950"},          {1026, "IBM1026"},
    {1140, "IBM1140"},       {1142, "IBM1142"},       {1143, "IBM1143"},
    {1144, "IBM1144"},       {1145, "IBM1145"},       {1146, "IBM1146"},
    {1147, "IBM1147"},       {1148, "IBM1148"},       {1149, "IBM1149"},
    {1200, "UTF-16LE"},      {1201, "UTF-16BE"},      {1250, "CP1250"},
    {1251, "CP1251"},        {1252, "CP1252"},        {1253, "CP1253"},
    {1254, "CP1254"},        {1255, "CP1255"},        {1256, "CP1256"},
    {1257, "CP1257"},        {1258, "CP1258"},        {1361, "JOHAB"},
    {10000, "MACINTOSH"},    {10007, "MAC-CYRILLIC"}, {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},       {20000, "EUC-TW"},       {20002, "BIG5"},
    {20106, "ISO646-DE"},    {20107, "ISO646-SE"},    {20108, "ISO646-NO"},
    {20127, "ANSI_X3.4-1968"}, {20273, "IBM273"},     {20277, "IBM277"},
    {20278, "IBM278"},       {20280, "IBM280"},       {20284, "IBM284"},
    {20285, "IBM285"},       {20290, "IBM290"},       {20423, "IBM423"},
    {20424, "IBM424"},       {20866, "KOI8-R"},       {20873, "IBM871"},
    {20880, "IBM880"},       {20905, "IBM905"},       {21025, "IBM1025"},
    {21866, "KOI8-U"},       {28591, "ISO-8859-1"},   {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},   {28594, "ISO-8859-4"},   {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},   {28597, "ISO-8859-7"},   {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},   {28605, "ISO-8859-15"},  {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},  {50221, "ISO-2022-JP"},  {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},  {50930, "IBM930"},       {50933, "IBM933"},
    {50935, "IBM935"},       {50937, "IBM937"},       {50939, "IBM939"},
    {51932, "EUC-JP"},       {51936, "EUC-CN"},       {51949, "EUC-KR"},
    {65000, "UTF-7"},        {65001, "UTF-8"},
};

}  // namespace

const char* ConverterNameForCodePage(int codePage) {
  const auto* found =
      std::lower_bound(std::begin(kConverters), std::end(kConverters), codePage,
                       [](const CodePageConverter& entry, int value) { return entry.codePage < value; });
  if (found == std::end(kConverters) || found->codePage != codePage) return nullptr;
  return found->converter;
}

}  // namespace plumet::text
