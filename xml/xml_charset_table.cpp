// The charset-name table: 254 lower-case names in 150 buckets. A bucket is
// one packed string of entries, each two digits of name length, five digits
// of code page and the name; the bucket of a name is the sum of its units
// modulo 150.
#include <array>

#include "xml/xml_charset.h"

namespace {

constexpr std::size_t kBucketCount = 150;
constexpr std::size_t kMaxNameLength = 100;

constexpr std::array<std::u16string_view, kBucketCount> kBuckets = {
    u"1028599iso_8859-92701148x-ebcdic-international-euro",
    u"0828596ecma-1141420284x-ebcdic-spain",
    u"1420127ansi_x3.4-19681420127ansi_x3.4-19860751949cseuckr",
    u"",
    u"1410001x-mac-japanese",
    u"0500936cn-gb0828597ecma-118",
    u"0600932x-sjis",
    u"0228591l1",
    u"03004374370300936gbk0228592l2",
    u"0228593l31420280x-ebcdic-italy",
    u"0628596arabic0228594l42701142x-ebcdic-denmarknorway-euro",
    u"0228595l5",
    u"",
    u"0700950cn-big50900932shift-jis",
    u"",
    u"0800936csgb23120228605l9",
    u"",
    u"",
    u"0920127iso646-us",
    u"0600850ibm850",
    u"0600437ibm4370800949ksc_5601",
    u"0600852ibm8520600861ibm861",
    u"0620127ibm367",
    u"0600737ibm7370320866koi1420002x-chinese-eten",
    u"0628591ibm8191601146x-ebcdic-uk-euro1320107x-ia5-swedish1410007x-mac-cyrillic",
    u"0600775ibm775",
    u"0600857ibm8570600866ibm8661020127iso-ir-6us2750937x-ebcdic-traditionalchinese",
    u"1710002x-mac-chinesetrad",
    u"",
    u"0600869ibm869",
    u"",
    u"0500437cspc8",
    u"1250221_iso-2022-jp1000932csshiftjis0551932x-euc",
    u"0601200utf-162000875x-ebcdic-greekmodern3350939x-ebcdic-japaneseandjapaneselatin",
    u"1320838x-ebcdic-thai",
    u"1028591iso-ir-100",
    u"0800708asmo-7081028592iso-ir-1011028594iso-ir-110",
    u"0628598hebrew",
    u"1057003x-iscii-be",
    u"1620127iso_646.irv:19911901145x-ebcdic-spain-euro",
    u"0600949korean1057002x-iscii-de",
    u"1628596csisolatinarabic1710008x-mac-chinesesimp",
    u"",
    u"1028597iso-ir-1261028595iso-ir-1440520866koi8r1057008x-iscii-ka",
    u"1028593iso-ir-1091028596iso-ir-1272420880x-ebcdic-cyrillicrussian",
    u"1000936gb_2312-801128605iso_8859-151057009x-iscii-ma",
    u"1028598iso-ir-138",
    u"1028599iso-ir-1480928591iso8859-11901144x-ebcdic-italy-euro",
    u"1000949iso-ir-1490928592iso8859-20820127us-ascii1057011x-iscii-pa",
    u"1220106x-ia5-german",
    u"",
    u"2320833x-ebcdic-koreanextended1057006x-iscii-as",
    u"1057004x-iscii-ta",
    u"1000932x-ms-cp932",
    u"",
    u"0800936gb2312800721866koi8-ru",
    u"1300949csksc560119871057005x-iscii-te",
    u"",
    u"",
    u"0400950big52650935x-ebcdic-simplifiedchinese1057010x-iscii-gu",
    u"0500775cp5000628598visual3321025x-ebcdic-cyrillicserbianbulgarian",
    u"1150221csiso2022jp1765000unicode-1-1-utf-7",
    u"1765001unicode-1-1-utf-81765001unicode-2-0-utf-8",
    u"4551932extended_unix_code_packed_format_for_japanese0900932shift_jis",
    u"1150225csiso2022kr1057007x-iscii-or",
    u"",
    u"1951932cseucpkdfmtjapanese0501361johab0910000macintosh",
    u"1620273x-ebcdic-germany0829001x-europa",
    u"1628598csisolatinhebrew",
    u"0500437cp4371320000x-chinese-cns",
    u"0500852cp8520500870cp870",
    u"0520127ascii0520127cp367",
    u"1500420x-ebcdic-arabic",
    u"0528591cp819",
    u"0700720dos-720",
    u"0500866cp8660700949ksc56011210004x-mac-arabic",
    u"0528597greek1965000x-unicode-2-0-utf-7",
    u"1400949ks_c_5601-19871965001x-unicode-2-0-utf-8",
    u"",
    u"0420866koi81400949ks_c_5601-19892520290x-ebcdic-japanesekatakana",
    u"",
    u"1128592csisolatin20700862dos-862",
    u"1100437codepage4370201252us",
    u"1128594csisolatin40700874tis-620",
    u"1128595csisolatin50700874dos-874",
    u"1200037ebcdic-cp-us1501143x-ebcdic-france1520108x-ia5-norwegian",
    u"1820873x-ebcdic-icelandic",
    u"1150220iso-2022-jp1100874windows-874",
    u"0620866koi8-r",
    u"1510079x-mac-icelandic0800950x-x-big5",
    u"1150225iso-2022-kr2220278x-ebcdic-finlandsweden2850933x-ebcdic-japaneseanduscanada1620905x-ebcdic-turkish",
    u"0621866koi8-u",
    u"1028591iso-8859-1",
    u"1028592iso-8859-21310081x-mac-turkish",
    u"0828597elot_9281028593iso-8859-30801252iso-ir-60800932ms_kanji",
    u"0528593csiso1565000csunicode11utf71028594iso-8859-4",
    u"1028595iso-8859-5",
    u"1028596iso-8859-6",
    u"1028597iso-8859-73250933x-ebcdic-koreanandkoreanextended",
    u"1650222_iso-2022-jp$sio1028598iso-8859-81238598iso-8859-8-i1520424x-ebcdic-hebrew",
    u"0900936gb2312-801028599iso-8859-91101201unicodefffe",
    u"0600936gb2312",
    u"1210005x-mac-hebrew",
    u"",
    u"",
    u"2101143x-ebcdic-germany-euro1210003x-mac-korean",
    u"",
    u"1528597csisolatingreek0720866cskoi8r",
    u"",
    u"1500936csiso58gb2312800828595cyrillic",
    u"",
    u"",
    u"0601026cp1026",
    u"",
    u"",
    u"0900949ks_c_56010810029x-mac-ce",
    u"",
    u"0601256cp12561052936hz-gb-23121528591iso_8859-1:1987",
    u"1528592iso_8859-2:1987",
    u"1000936csgb2312802450930x-ebcdic-japaneseandkana",
    u"1528593iso_8859-3:19880520105x-ia5",
    u"0651936euc-cn1528594iso_8859-4:1988",
    u"1528595iso_8859-5:19881528596iso_8859-6:19872220277x-ebcdic-denmarknorway",
    u"0600950csbig51528597iso_8859-7:19872001147x-ebcdic-france-euro",
    u"1201250windows-12502301149x-ebcdic-icelandic-euro",
    u"1528598iso_8859-8:19881201251windows-1251",
    u"1201252windows-12520801250x-cp1250",
    u"1528599iso_8859-9:19891400949ks_c_5601_19871201253windows-12530801251x-cp1251",
    u"1201254windows-12542701143x-ebcdic-finlandsweden-euro",
    u"1201255windows-1255",
    u"0651932euc-jp1201256windows-1256",
    u"0738598logical1201257windows-1257",
    u"0628597greek81201258windows-1258",
    u"0600949euc-kr",
    u"",
    u"0700936chinese0720127csascii0628591latin10565000utf-7",
    u"0628592latin20565001utf-81120285x-ebcdic-uk0851936x-euc-cn",
    u"0628593latin3",
    u"0628594latin41901140x-ebcdic-cp-us-euro1420423x-ebcdic-greek",
    u"0628599latin5",
    u"1828595csisolatincyrillic",
    u"1100874iso-8859-111110006x-mac-greek",
    u"1028591iso_8859-10601252x-ansi",
    u"1028592iso_8859-20628605latin90701200unicode",
    u"1028593iso_8859-3",
    u"1128605iso-8859-151028594iso_8859-40851932x-euc-jp",
    u"1028595iso_8859-5",
    u"1028596iso_8859-6",
    u"1028597iso_8859-7",
    u"1200932cswindows31j0900936iso-ir-581028598iso_8859-81201255iso_8859-8-i",
};

std::int32_t Digits(std::u16string_view digits) {
  std::int32_t value = 0;
  for (char16_t digit : digits) value = value * 10 + (digit - u'0');
  return value;
}

}  // namespace

std::int32_t CodePageForCharset(std::u16string_view name) {
  if (name.empty()) return 0;
  if (name.substr(0, 6) == u"UTF-32") return CP_UTF32;
  if (name.size() >= kMaxNameLength) return -1;
  std::u16string lower(name);
  std::uint32_t sum = 0;
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    sum += c;
  }
  std::u16string_view bucket = kBuckets[sum % kBucketCount];
  while (bucket.size() >= 7) {
    const auto length = static_cast<std::size_t>(Digits(bucket.substr(0, 2)));
    if (length == lower.size() && bucket.substr(7, length) == lower) return Digits(bucket.substr(2, 5));
    bucket.remove_prefix(7 + length);
  }
  return -1;
}
