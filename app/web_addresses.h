#pragma once
// The program's own web addresses: the plain-text file naming the newest
// release, the home page in English and in Japanese. The settings keys
// UpdateURL and HomeURL override them.
namespace tavi {

constexpr const char kVersionInfoURL[] = "http://tavi.example.net/version.txt";
constexpr const char kHomePageEnglishURL[] = "http://tavi.example.net/en/";
constexpr const char kHomePageJapaneseURL[] = "http://tavi.example.net/";

}  // namespace tavi
