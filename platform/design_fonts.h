#pragma once
// The design's font names, and the installed fonts with close metrics that stand for them. The
// toolkit takes the second wherever the design names the first.

struct FontStandIn {
  const char* design_name;
  const char* installed_name;
};

inline constexpr FontStandIn kFontStandIns[] = {
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"Times New Roman", "Liberation Serif"},
};
