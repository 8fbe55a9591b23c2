#include "app/start_notices.h"

#include <QStringList>

#include "app/languages.h"

namespace tavi {

namespace {

struct NoticeTexts {
  const char* folder;
  const char* file;
  const char* page;
  const char* tileData;
  const char* artSkipped;
};

const NoticeTexts& TextsFor(int language) {
  static const NoticeTexts kEnglish{
      "The settings cannot be stored: %1.\nThe editor starts with the default settings and keeps "
      "no changes to them.",
      "The settings file could not be read (%1).\nThe editor uses the default settings and "
      "leaves the file as it is.",
      "The page file %1 could not be read whole (%2).\nThe catalogue shows the pages that could "
      "be read, and the file is left as it is.",
      "The client files are not whole: %1.",
      "%1 entries of the art container use a compression this editor cannot read; their "
      "pictures are not shown."};
  static const NoticeTexts kJapanese{
      "設定を保存できません: %1。\n既定の設定で起動し、設定の変更は保存されません。",
      "設定ファイルを読み込めませんでした (%1)。\n既定の設定を使用し、ファイルはそのままにします。",
      "ページファイル %1 を最後まで読み込めませんでした (%2)。\n読み込めたページを表示し、"
      "ファイルはそのままにします。",
      "クライアントファイルが完全ではありません: %1。",
      "アートコンテナの %1 "
      "個のエントリはこのエディタで読めない圧縮形式のため、画像は表示されません。"};
  static const NoticeTexts kGerman{
      "Die Einstellungen können nicht gespeichert werden: %1.\nDer Editor startet mit den "
      "Standardeinstellungen und speichert keine Änderungen daran.",
      "Die Einstellungsdatei konnte nicht gelesen werden (%1).\nDer Editor verwendet die "
      "Standardeinstellungen und lässt die Datei unverändert.",
      "Die Seitendatei %1 konnte nicht vollständig gelesen werden (%2).\nDer Katalog zeigt die "
      "lesbaren Seiten, die Datei bleibt unverändert.",
      "Die Client-Dateien sind nicht vollständig: %1.",
      "%1 Einträge des Art-Containers verwenden eine Kompression, die dieser Editor nicht lesen "
      "kann; ihre Bilder werden nicht angezeigt."};
  switch (EffectiveLanguage(language)) {
    case kLangJapanese:
      return kJapanese;
    case kLangGerman:
      return kGerman;
    default:
      return kEnglish;
  }
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

QString StartNoticeText(int language, const StartNotices& notices) {
  const NoticeTexts& t = TextsFor(language);
  QStringList parts;
  if (!notices.settingsFolder.empty())
    parts << QString::fromUtf8(t.folder).arg(Q(notices.settingsFolder));
  if (!notices.settingsFile.empty())
    parts << QString::fromUtf8(t.file).arg(Q(notices.settingsFile));
  for (const UnreadPageFile& page : notices.pageFiles)
    parts << QString::fromUtf8(t.page).arg("'" + Q(page.path) + "'", Q(page.reason));
  if (!notices.tileData.empty()) parts << QString::fromUtf8(t.tileData).arg(Q(notices.tileData));
  if (notices.artSkipped > 0)
    parts << QString::fromUtf8(t.artSkipped).arg(qulonglong(notices.artSkipped));
  return parts.join("\n\n");
}

}  // namespace tavi
