// Which library and converter serve each code page of the charset table.
#include "platform/text/conversion_libraries.h"

#include <algorithm>
#include <iterator>

namespace plumet::text {
namespace {

struct CodePageConverter {
  int codePage;
  ConverterName converter;
};

constexpr ConverterName Iconv(const char* name) { return {ConverterLibrary::Iconv, name}; }
constexpr ConverterName Icu(const char* name) { return {ConverterLibrary::Icu, name}; }

// Sorted by code page. glibc iconv serves every page it has; ICU serves
// DOS-720, Mac Greek and Turkish, EBCDIC Thai, HZ and the ISCII pages.
// Neither has IA5 (20105), Europa (29001), EBCDIC Korean extended (20833)
// or the Mac Japanese, Chinese, Korean, Arabic and Hebrew pages: those are
// absent, and text cannot be converted to or from them.
constexpr CodePageConverter kConverters[] = {
    {37, Iconv("IBM037")}, {420, Iconv("IBM420")}, {437, Iconv("IBM437")},
    {708, Iconv("ASMO-708")}, {720, Icu("ibm-720_P100-1997")}, {737, Iconv("CP737")},
    {775, Iconv("IBM775")}, {850, Iconv("IBM850")}, {852, Iconv("IBM852")},
    {857, Iconv("IBM857")}, {861, Iconv("IBM861")}, {862, Iconv("IBM862")},
    {866, Iconv("IBM866")}, {869, Iconv("IBM869")}, {870, Iconv("IBM870")},
    {874, Iconv("CP874")}, {875, Iconv("IBM875")}, {932, Iconv("CP932")},
    {936, Iconv("CP936")}, {949, Iconv("CP949")}, {950, Iconv("CP950")},
    {1026, Iconv("IBM1026")}, {1140, Iconv("IBM1140")}, {1142, Iconv("IBM1142")},
    {1143, Iconv("IBM1143")}, {1144, Iconv("IBM1144")}, {1145, Iconv("IBM1145")},
    {1146, Iconv("IBM1146")}, {1147, Iconv("IBM1147")}, {1148, Iconv("IBM1148")},
    {1149, Iconv("IBM1149")}, {1200, Iconv("UTF-16LE")}, {1201, Iconv("UTF-16BE")},
    {1250, Iconv("CP1250")}, {1251, Iconv("CP1251")}, {1252, Iconv("CP1252")},
    {1253, Iconv("CP1253")}, {1254, Iconv("CP1254")}, {1255, Iconv("CP1255")},
    {1256, Iconv("CP1256")}, {1257, Iconv("CP1257")}, {1258, Iconv("CP1258")},
    {1361, Iconv("JOHAB")}, {10000, Iconv("MACINTOSH")}, {10006, Icu("macos-6_2-10.4")},
    {10007, Iconv("MAC-CYRILLIC")}, {10029, Iconv("MAC-CENTRALEUROPE")}, {10079, Iconv("MAC-IS")},
    {10081, Icu("macos-35-10.2")}, {20000, Iconv("EUC-TW")}, {20002, Iconv("BIG5")},
    {20106, Iconv("ISO646-DE")}, {20107, Iconv("ISO646-SE")}, {20108, Iconv("ISO646-NO")},
    {20127, Iconv("ANSI_X3.4-1968")}, {20273, Iconv("IBM273")}, {20277, Iconv("IBM277")},
    {20278, Iconv("IBM278")}, {20280, Iconv("IBM280")}, {20284, Iconv("IBM284")},
    {20285, Iconv("IBM285")}, {20290, Iconv("IBM290")}, {20423, Iconv("IBM423")},
    {20424, Iconv("IBM424")}, {20838, Icu("ibm-838_P100-1995")}, {20866, Iconv("KOI8-R")},
    {20873, Iconv("IBM871")}, {20880, Iconv("IBM880")}, {20905, Iconv("IBM905")},
    {21025, Iconv("IBM1025")}, {21866, Iconv("KOI8-U")}, {28591, Iconv("ISO-8859-1")},
    {28592, Iconv("ISO-8859-2")}, {28593, Iconv("ISO-8859-3")}, {28594, Iconv("ISO-8859-4")},
    {28595, Iconv("ISO-8859-5")}, {28596, Iconv("ISO-8859-6")}, {28597, Iconv("ISO-8859-7")},
    {28598, Iconv("ISO-8859-8")}, {28599, Iconv("ISO-8859-9")}, {28605, Iconv("ISO-8859-15")},
    {38598, Iconv("ISO-8859-8")}, {50220, Iconv("ISO-2022-JP")}, {50221, Iconv("ISO-2022-JP")},
    {50222, Iconv("ISO-2022-JP")}, {50225, Iconv("ISO-2022-KR")}, {50930, Iconv("IBM930")},
    {50933, Iconv("IBM933")}, {50935, Iconv("IBM935")}, {50937, Iconv("IBM937")},
    {50939, Iconv("IBM939")}, {51932, Iconv("EUC-JP")}, {51936, Iconv("EUC-CN")},
    {51949, Iconv("EUC-KR")}, {52936, Icu("HZ")}, {57002, Icu("ISCII,version=0")},
    {57003, Icu("ISCII,version=1")}, {57004, Icu("ISCII,version=5")}, {57005, Icu("ISCII,version=6")},
    {57006, Icu("ISCII,version=1")}, {57007, Icu("ISCII,version=4")}, {57008, Icu("ISCII,version=7")},
    {57009, Icu("ISCII,version=8")}, {57010, Icu("ISCII,version=3")}, {57011, Icu("ISCII,version=2")},
    {65000, Iconv("UTF-7")}, {65001, Iconv("UTF-8")},
};

}  // namespace

const ConverterName* ConverterForCodePage(int codePage) {
  const auto* found =
      std::lower_bound(std::begin(kConverters), std::end(kConverters), codePage,
                       [](const CodePageConverter& entry, int value) { return entry.codePage < value; });
  if (found == std::end(kConverters) || found->codePage != codePage) return nullptr;
  return &found->converter;
}

}  // namespace plumet::text
