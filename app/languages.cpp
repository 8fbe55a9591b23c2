#include "app/languages.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTranslator>
#include <QWidget>
#include <cstring>

namespace tavi {

namespace {

struct CaptionRow {
  const char* window;
  const char* control;  // "" = the window caption
  const char* text[3];  // English, Japanese, German
};

// In the order in which the captions are applied.
const CaptionRow kCaptions[] = {
    {"TMainForm", "File1", {"&File", "ファイル(&F)", "&Datei"}},
    {"TMainForm", "Open1", {"&Open...", "開く(&O)...", "Ö&ffnen..."}},
    {"TMainForm", "Close1", {"&Save", "上書き保存(&S)", "&Speichern"}},
    {"TMainForm", "SaveAs1", {"Save &As...", "名前を付けて保存(&A)...", "Speichern &unter..."}},
    {"TMainForm", "Exit1", {"&Exit", "終了(&X)", "&Beenden"}},
    {"TMainForm", "Edit1", {"&Edit", "編集(&E)", "&Bearbeiten"}},
    {"TMainForm", "CopyBMP1", {"Copy &Image", "画像をコピー(&I)", "&Bild kopieren"}},
    {"TMainForm",
     "ImageSaveas1",
     {"&Image Save as...", "画像を保存(&I)...", "Bild speichern &als..."}},
    {"TMainForm", "Option1", {"&Option", "設定(&O)", "&Optionen"}},
    {"TMainForm", "Help1", {"&Help", "ヘルプ(&H)", "&Hilfe"}},
    {"TMainForm", "MnContents", {"&Contents", "ヘルプを開く(&C)", "&Contents"}},
    {"TMainForm", "About1", {"&About...", "Tavi Editorについて(&A)...", "&Über..."}},
    {"TMainForm", "ImportMulti1", {"Import Multi", "マルチのインポート", "Multi importieren"}},
    {"TMainForm",
     "MnImportCache",
     {"Import Cache...", "キャッシュからインポート...", "Cache importieren..."}},
    {"TMainForm", "MnNewFile", {"&NewFile", "新規作成(&N)", "&Neue Datei"}},
    {"TMainForm", "MnCopy", {"&Copy", "コピー(&C)", "&Kopieren"}},
    {"TMainForm", "MnPaste", {"&Paste", "貼り付け(&P)", "E&infügen"}},
    {"TMainForm", "MnCut", {"Cu&t", "切り取り(&T)", "Aus&schneiden"}},
    {"TMainForm", "MnDelete", {"&Delete", "削除(&D)", "&Löschen"}},
    {"TMainForm", "MnUndo", {"&Undo", "やり直し(&U)", "&Rückgängig"}},
    {"TMainForm", "MnRedo", {"&Redo", "やり直しのやり直し(&R)", "&Wiederherstellen"}},
    {"TMainForm", "View1", {"&View", "表示(&V)", "&Ansicht"}},
    {"TMainForm", "MnHideWalls", {"&Hide Walls", "壁を隠す(&H)", "&Mauern Transparent"}},
    {"TMainForm", "MnShowGrid", {"Show &Grid", "グリッド表示(&G)", "&Gitter zeigen"}},
    {"TMainForm",
     "MnDownstair",
     {"Show Downstair walls", "下の階の壁を表示", "Untere Mauern zeigen"}},
    {"TMainForm",
     "MnStickWnd",
     {"Stick Control Window", "コントロールを吸着", "Kontroll Fenster anheften"}},
    {"TMainForm",
     "MnCtrlWnd",
     {"Show Control Window", "コントロールを表示", "Kontroll Fenster zeigen"}},
    {"TMainForm", "MnReplaceWall", {"Replace &Walls", "壁の置き換え(&W)", "&Mauern ersetzen"}},
    {"TMainForm",
     "MnFoundation",
     {"AoS Foundation Style", "カスタム土台の設定", "AoS Foundation Style"}},
    {"TMainForm",
     "MnDeleteCustomize",
     {"Delete &except AoS customize", "カスタマイズ部品以外を削除(&E)",
      "Alles &ausser AoS Teile löschen"}},
    {"TMainForm",
     "MnShowPropriety",
     {"Show Customize Propriety", "カスタマイズ正当性表示", "Zeige Gewöhnen Schicklichkeit"}},
    {"TMainForm", "MnLight", {"Night mode", "夜間モード", "Nacht Modus"}},
    {"TMainForm",
     "MnImportClip",
     {"Load from &Clip", "クリップボードから読み込み(&C)", "Aus &Zwischenablage laden"}},
    {"TMainForm",
     "MnExportClip",
     {"Save to Clip", "クリップボードへ保存", "In Zwischenablage speichern"}},

    {"TCtrlForm", "", {"Control Window", "コントロール", "Kontroll Fenster"}},
    {"TCtrlForm", "BtnDelete", {"Delete", "削除", "Löschen"}},
    {"TCtrlForm", "BtnAdd", {"Add", "追加", "Hinzu"}},
    {"TCtrlForm", "CBObjWindow", {"Object Window", "オブジェクト", "Objekt Fenster"}},
    {"TCtrlForm", "CBAoSWindow", {"AoS Window", "AoSウィンドウ", "AoS Fenster"}},
    {"TCtrlForm", "BtnShow", {"Show", "表示", "Zeigen"}},
    {"TCtrlForm", "BtnHide", {"Hide", "隠す", "Verstecken"}},
    {"TCtrlForm", "BtnShowAll", {"Show All", "全て表示", "Alle zeigen"}},
    {"TCtrlForm", "BtnCellUp", {"up", "↑", "rauf"}},
    {"TCtrlForm", "BtnCellDown", {"down", "↓", "runter"}},
    {"TCtrlForm", "BtnCellDelete", {"Delete", "削除", "Löschen"}},
    {"TCtrlForm", "LblZoom", {"Zoom", "ズーム", "Zoom"}},
    {"TCtrlForm", "RGEditmode", {"Edit mode", "編集モード", "Modus"}},

    {"TCfgForm", "", {"Config", "設定", "Einstellungen"}},
    {"TCfgForm", "BtnOk", {"Ok", "OK", "Ok"}},
    {"TCfgForm", "BtnCancel", {"Cancel", "キャンセル", "Abbrechen"}},
    {"TCfgForm",
     "GBUOFiles",
     {"Ultima Online Files", "Ultima Online ファイル", "Ultima Online Dateien"}},
    {"TCfgForm", "BtnFileSearch", {"&Reload Paths", "パスの再検索(&R)", "Pfade neu &laden"}},
    {"TCfgForm", "GBBaseSize", {"Base Size", "土台サイズ", "Grundstück Grösse"}},
    {"TCfgForm", "Label6", {"Width (East-West)", "幅（東西）", "Breite"}},
    {"TCfgForm", "Label7", {"Height (North-South)", "奥行（南北）", "Tiefe"}},
    {"TCfgForm",
     "CBStayOnTop",
     {"Object Window Stay on Top", "オブジェクトウィンドウを常に手前に表示",
      "Objekt Fenster immer oben"}},
    {"TCfgForm", "GBJpegQuality", {"JPEG Compress Quality", "JPEG圧縮品質", "JPEG Qualität"}},
    {"TCfgForm", "LblLanguage", {"Language", "言語", "Sprache"}},
    {"TCfgForm", "LblTxtWidth", {"Clip Text Width", "クリップテキスト幅", "Clip Text Breite"}},
    {"TCfgForm", "GBBackGround", {"Background", "背景", "Background"}},
    {"TCfgForm", "LblBGType", {"Type", "種類", "Typ"}},
    {"TCfgForm", "CBBGLarge", {"Larger background", "背景を広くする", "Grosser Hintergrund"}},
    {"TCfgForm",
     "CBUpdateChk",
     {"Monthly update check", "月に一回更新チェック", "Monthly update check"}},

    {"TObjForm", "", {"Object Window", "オブジェクト", "Objekt Fenster"}},
    {"TObjForm", "MnFind", {"Find", "オブジェクトの検索", "Suchen"}},
    {"TObjForm", "MnFindNext", {"Next", "次を検索", "Weiter"}},
    {"TObjForm", "MnAdd1", {"&Add to ...", "追加(&A)...", "&Hinzufügen zu ..."}},
    {"TObjForm", "MnDelete1", {"&Delete", "削除(&D)", "&Löschen"}},
    {"TObjForm", "MnPage", {"&Page", "ページ(&P)", "&Seite"}},
    {"TObjForm", "MnPageAdd", {"&Add", "追加(&A)", "&Hinzufügen"}},
    {"TObjForm", "MnPageRename", {"&Rename", "名前変更(&R)", "&Umbenennen"}},
    {"TObjForm", "MnPageDelete", {"&Delete", "削除(&D)", "&Löschen"}},
    {"TObjForm", "Search1", {"&Search", "検索(&S)", "&Suchen"}},
    {"TObjForm", "MnFind1", {"&Find", "検索(&F)", "&Finden"}},
    {"TObjForm", "MnFindNext1", {"Find &Next", "次を検索(&N)", "&Weitersuchen"}},
    {"TObjForm", "MnObject", {"&Object", "オブジェクト(&O)", "&Objekt"}},
    {"TObjForm", "MnAdd", {"&Add to...", "追加(&A)...", "&Hinzufügen zu..."}},
    {"TObjForm", "MnDelete", {"&Delete", "削除(&D)", "&Löschen"}},

    {"TAoSForm",
     "",
     {"Age of Shadows Objects", "\"正邪の大陸\"オブジェクトウィンドウ", "AoS Objekte"}},
    {"TAoSForm", "LblType", {"Type", "モード", "Typ"}},
    {"TAoSForm", "LblPriceName", {"Price:", "価格:", "Preis:"}},

    {"TMultiForm",
     "",
     {"Import from Multicache", "マルチキャッシュからインポート", "Aus Multicache importieren"}},
    {"TMultiForm", "GBAccount", {"Account", "アカウント", "Account"}},
    {"TMultiForm", "GBChar", {"Character", "キャラクター", "Charakter"}},
    {"TMultiForm", "GBShard", {"Shard", "シャード", "Shard"}},
    {"TMultiForm", "GBHouse", {"Cached Houses", "キャッシュされた家", "Gespeicherte Häuser"}},
    {"TMultiForm", "BtnImport", {"Import", "インポート", "Importieren"}},
    {"TMultiForm", "BtnClose", {"Close", "閉じる", "Schliessen"}},
    {"TMultiForm",
     "LblWarning",
     {"* Dynamic objects (e.g. doors, teleporters)\r\n will not be imported. *",
      "＊動的オブジェクト（扉、テレポータ等）\r\n　は、インポートされません＊",
      "* Dynamic objects (e.g. doors, teleporters)\r\n will not be imported. *"}},

    {"TUpdateForm", "BtnExecIE", {"Open TAVI Site", "TAVIページを開く", "Open TAVI Site"}},
    {"TUpdateForm", "BtnOk", {"Ok", "OK", "Ok"}},

    {"TFoundationForm", "", {"Foundation Styles", "カスタム土台の設定", "Foundation Styles"}},
    {"TFoundationForm", "TSSign", {"Sign", "看板", "Schild"}},
    {"TFoundationForm", "TSHanger", {"Hanger", "看板掛け", "Aufhänger"}},
    {"TFoundationForm", "TSPost", {"Post", "支柱", "Pfosten"}},
    {"TFoundationForm", "TSStyle", {"Foundation Style", "土台のスタイル", "Fundament Stil"}},
    {"TFoundationForm", "BtnOk", {"Ok", "OK", "Ok"}},
    {"TFoundationForm", "BtnCancel", {"Cancel", "キャンセル", "Abbrechen"}},
};

struct ListRow {
  const char* name;
  const char* const* items[3];
  int count;
};

const char* const kEditEn[] = {"Immediate", "Stack", "Inner"};
const char* const kEditJa[] = {"直接モード", "追加モード", "内装モード"};
const char* const kEditDe[] = {"Sofort", "Stapeln", "Inner"};
const char* const kJpegEn[] = {"High", "Standard", "Low"};
const char* const kJpegJa[] = {"高", "標準", "低"};
const char* const kJpegDe[] = {"Hoch", "Standard", "Niedrig"};
const char* const kBgEn[] = {"Grass", "Sand", "Dirt", "Jungle", "Snow", "Swamp"};
const char* const kBgJa[] = {"芝", "砂漠", "土", "ジャングル", "雪", "沼"};
const char* const kBgDe[] = {"Gras", "Sand", "Dreck", "Dschungel", "Schnee", "Sumpf"};
const char* const kTypeEn[] = {"Walls", "Doors",        "Floors", "Stairs", "Stairs(Auto Stack)",
                               "Roofs", "Enchancements"};
const char* const kTypeJa[] = {"壁", "扉", "床", "階段", "階段(自動積み)", "屋根", "その他"};
const char* const kTypeDe[] = {"Mauern",       "Türen", "Boden",   "Stufen",
                               "Stufen(Auto)", "Roof",  "Torbögen"};

const ListRow kLists[] = {
    {"RGEditmode", {kEditEn, kEditJa, kEditDe}, 3},
    {"CBJpegQuality", {kJpegEn, kJpegJa, kJpegDe}, 3},
    {"CBBGType", {kBgEn, kBgJa, kBgDe}, 6},
    {"CBType", {kTypeEn, kTypeJa, kTypeDe}, 7},
};

QObject* FindControl(QWidget* window, const char* name) {
  if (!window || !name || !*name) return nullptr;
  if (window->objectName() == QLatin1String(name)) return window;
  return window->findChild<QObject*>(QString::fromLatin1(name));
}

void SetCaption(QWidget* window, const char* control, const QString& text) {
  if (!window) return;
  if (!*control) {
    window->setWindowTitle(text);
    return;
  }
  QObject* o = FindControl(window, control);
  if (!o) return;  // a control this build of the window does not have
  if (auto* menu = qobject_cast<QMenu*>(o)) {
    menu->setTitle(text);
  } else if (auto* action = qobject_cast<QAction*>(o)) {
    action->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(o)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(o)) {
    group->setTitle(text);
  } else if (auto* page = qobject_cast<QWidget*>(o)) {
    // A tab page: its caption is the tab's text.
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (tabs) {
      const int i = tabs->indexOf(page);
      if (i >= 0) tabs->setTabText(i, text);
    } else {
      page->setWindowTitle(text);
    }
  }
}

void RebuildList(QWidget* window, const char* name, const QStringList& items) {
  QObject* o = FindControl(window, name);
  if (auto* combo = qobject_cast<QComboBox*>(o)) {
    const QSignalBlocker block(combo);
    const int selected = combo->currentIndex();
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(selected < items.size() ? selected : -1);
  } else if (auto* group = qobject_cast<QGroupBox*>(o)) {
    // A radio group: its buttons in order; the checked one stays checked.
    const auto buttons = group->findChildren<QRadioButton*>();
    for (int i = 0; i < buttons.size() && i < items.size(); ++i) buttons[i]->setText(items[i]);
  }
}

QWidget* WindowFor(const LanguageWindows& w, const char* cls) {
  if (!std::strcmp(cls, "TMainForm")) return w.main;
  if (!std::strcmp(cls, "TCtrlForm")) return w.ctrl;
  if (!std::strcmp(cls, "TCfgForm")) return w.cfg;
  if (!std::strcmp(cls, "TObjForm")) return w.obj;
  if (!std::strcmp(cls, "TAoSForm")) return w.aos;
  if (!std::strcmp(cls, "TMultiForm")) return w.multi;
  if (!std::strcmp(cls, "TUpdateForm")) return w.update;
  if (!std::strcmp(cls, "TFoundationForm")) return w.foundation;
  return nullptr;
}

bool HasFamily(const QString& family) {
  const QStringList all = QFontDatabase::families();
  return all.contains(family, Qt::CaseInsensitive);
}

}  // namespace

int EffectiveLanguage(int language) {
  return language == kLangJapanese || language == kLangGerman ? language : kLangEnglish;
}

QString QtTranslationName(int language) {
  switch (EffectiveLanguage(language)) {
    case kLangJapanese:
      return "qtbase_ja";
    case kLangGerman:
      return "qtbase_de";
    default:
      return QString();
  }
}

bool SwitchQtTranslation(QTranslator* translator, int language, const QString& folder) {
  if (!translator) return false;
  QCoreApplication::removeTranslator(translator);
  const QString name = QtTranslationName(language);
  if (name.isEmpty()) return false;
  const QString dir =
      folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  // A failed load empties the translator, so nothing stale stays in use.
  if (!translator->load(name, dir)) return false;
  return QCoreApplication::installTranslator(translator);
}

int CaptionCount() {
  int n = 0;
  for (const auto& row : kCaptions) n += row.window != nullptr;
  return n;
}

QString CaptionFor(int language, const char* window, const char* control) {
  const int lang = EffectiveLanguage(language);
  for (const auto& row : kCaptions)
    if (!std::strcmp(row.window, window) && !std::strcmp(row.control, control))
      return QString::fromUtf8(row.text[lang]);
  return QString();
}

QStringList ListFor(int language, const char* list) {
  const int lang = EffectiveLanguage(language);
  QStringList out;
  for (const auto& row : kLists) {
    if (std::strcmp(row.name, list)) continue;
    for (int i = 0; i < row.count; ++i) out << QString::fromUtf8(row.items[lang][i]);
  }
  return out;
}

LangMessages MessagesFor(int language) {
  LangMessages m;
  switch (EffectiveLanguage(language)) {
    case kLangJapanese:
      m.MsgModified = QString::fromUtf8("このファイルは更新されています。\r\n保存しますか？");
      m.MsgFoundation = QString::fromUtf8("\"正邪の大陸\"土台を設置しますか？");
      m.MsgDeletePage = QString::fromUtf8("このページを削除しますか？");
      m.MsgCopied = QString::fromUtf8("クリップボードにコピーしました。");
      m.MsgBrokenText = QString::fromUtf8("テキストにデータが含まれていないか壊れています。");
      m.MsgFileVersion = QString::fromUtf8("このバージョンのファイルには対応していません。");
      m.MsgNotFound = QString::fromUtf8("見つかりませんでした。");
      m.MsgAlreadyRegistered = QString::fromUtf8("すでに登録されています。");
      m.MsgSearchCaption = QString::fromUtf8("検索");
      m.MsgSearchPrompt = QString::fromUtf8("オブジェクト名称を入力してください。");
      m.MsgNewPageCaption = QString::fromUtf8("新規ページ");
      m.MsgNewPagePrompt = QString::fromUtf8("ページ名称を入力してください。");
      m.MsgRenameCaption = QString::fromUtf8("名前変更");
      m.MsgRenamePrompt = QString::fromUtf8("新しいページ名称を入力してください。");
      m.MsgGettingVersion = QString::fromUtf8("バージョン情報を取得しています．．．");
      m.MsgNewVersion =
          QString::fromUtf8("新しいバージョンが公開されています。ぜひダウンロードしてください。");
      m.MsgFetchFailed = QString::fromUtf8("情報取得に失敗しました。");
      m.MsgNoNewInfo = QString::fromUtf8("新しい情報はありません。");
      m.MsgNoBrowser =
          QString::fromUtf8("ウェブブラウザを開けませんでした。ページのアドレスは次のとおりです：");
      break;
    case kLangGerman:
      m.MsgModified = QString::fromUtf8("Die Datei wurde geändert\r\nSpeichern?");
      m.MsgFoundation = QString::fromUtf8("Fundament für Gebäude legen?");
      m.MsgDeletePage = QString::fromUtf8("Seite löschen?");
      m.MsgCopied = QString::fromUtf8("In Zwischenablage kopiert");
      m.MsgBrokenText = QString::fromUtf8("Zwischenablage ist leer");
      m.MsgFileVersion = QString::fromUtf8("File Version falsch");
      m.MsgNotFound = QString::fromUtf8("Nicht gefunden");
      m.MsgAlreadyRegistered = QString::fromUtf8("Bereits registriert");
      m.MsgSearchCaption = QString::fromUtf8("Suchen");
      m.MsgSearchPrompt = QString::fromUtf8("Objekt Name");
      m.MsgNewPageCaption = QString::fromUtf8("Neue Seite");
      m.MsgNewPagePrompt = QString::fromUtf8("Seiten Name");
      m.MsgRenameCaption = QString::fromUtf8("Umbenennen");
      m.MsgRenamePrompt = QString::fromUtf8("Neuer Seiten Name");
      m.MsgGettingVersion = "Getting version information...";
      m.MsgNewVersion = "New version is published. please get it now.";
      m.MsgFetchFailed = "Information acquisition is failed.";
      m.MsgNoNewInfo = "No new information.";
      m.MsgNoBrowser = QString::fromUtf8(
          "Es konnte kein Webbrowser geöffnet werden. Die Seite finden Sie hier:");
      break;
    default:
      m.MsgModified = "This file is modifyed.\r\nDo you wish to save?";
      m.MsgFoundation = "Do you wish to place a \"Age of Shadows\" foundation?";
      m.MsgDeletePage = "Delete this page?";
      m.MsgCopied = "This file is copied to the clipboard.";
      m.MsgBrokenText = "This text has no data or broken.";
      m.MsgFileVersion = "Can not use this file version.";
      m.MsgNotFound = "Not found";
      m.MsgAlreadyRegistered = "Already Registed.";
      m.MsgSearchCaption = "Search";
      m.MsgSearchPrompt = "Please input object name";
      m.MsgNewPageCaption = "New Page";
      m.MsgNewPagePrompt = "Please input page name";
      m.MsgRenameCaption = "Rename";
      m.MsgRenamePrompt = "Please input new page name";
      m.MsgGettingVersion = "Getting version information...";
      m.MsgNewVersion = "New version is published. please get it now.";
      m.MsgFetchFailed = "Information acquisition is failed.";
      m.MsgNoNewInfo = "No new information.";
      m.MsgNoBrowser = "No web browser could be opened. The page is at this address:";
      break;
  }
  return m;
}

QFont LanguageFont(int language) {
  QFont font = QApplication::font();
  QStringList families;
  if (EffectiveLanguage(language) == kLangJapanese) {
    // The named face first; a CJK face of the system renders the texts where
    // it does not exist.
    families << QString::fromUtf8("ＭＳ Ｐゴシック");
    for (const char* f :
         {"Noto Sans CJK JP", "Noto Sans JP", "IPAPGothic", "VL PGothic", "Droid Sans Japanese"})
      if (HasFamily(f)) families << f;
  } else {
    families << "MS Sans Serif";
  }
  families << QApplication::font().family();
  font.setFamilies(families);
  return font;
}

bool ApplyLanguage(int language, const LanguageWindows& w, LangMessages* messages) {
  const int lang = EffectiveLanguage(language);

  const QFont font = LanguageFont(lang);
  for (QWidget* window : {w.main, w.ctrl, w.cfg, w.obj, w.aos, w.multi, w.update})
    if (window) window->setFont(font);

  if (messages) *messages = MessagesFor(lang);

  // Already in this language: captions and lists stay as they are.
  if (w.main) {
    auto* file = qobject_cast<QMenu*>(FindControl(w.main, "File1"));
    if (file && file->title() == CaptionFor(lang, "TMainForm", "File1")) return false;
  }

  const char* lastWindow = "";
  auto listsAfter = [&](const char* window) {
    if (!std::strcmp(window, "TCtrlForm")) {
      RebuildList(w.ctrl, "RGEditmode", ListFor(lang, "RGEditmode"));
    } else if (!std::strcmp(window, "TCfgForm")) {
      RebuildList(w.cfg, "CBJpegQuality", ListFor(lang, "CBJpegQuality"));
      RebuildList(w.cfg, "CBBGType", ListFor(lang, "CBBGType"));
    } else if (!std::strcmp(window, "TAoSForm")) {
      if (w.setAoSTypeNames)
        w.setAoSTypeNames(ListFor(lang, "CBType"));
      else
        RebuildList(w.aos, "CBType", ListFor(lang, "CBType"));
    }
  };
  for (const auto& row : kCaptions) {
    if (std::strcmp(row.window, lastWindow)) {
      listsAfter(lastWindow);
      lastWindow = row.window;
    }
    // Two-line captions are stored with CR LF; a label breaks at LF.
    QString text = QString::fromUtf8(row.text[lang]);
    text.replace("\r\n", "\n");
    SetCaption(WindowFor(w, row.window), row.control, text);
  }
  listsAfter(lastWindow);
  return true;
}

}  // namespace tavi
