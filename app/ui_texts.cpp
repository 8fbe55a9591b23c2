#include "app/ui_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QVariant>
#include <QWidget>
#include <cstring>

namespace tavi {

namespace {

struct Row {
  const char* window;
  const char* control;
  const char* text[3];  // English, Japanese, German
};

// Captions of controls the original tables do not hold.
const Row kCaptions[] = {
    {"TCfgForm", "BtnBrowseArtIdx", {"Browse…", "参照…", "Durchsuchen…"}},
    {"TCfgForm", "BtnBrowseArt", {"Browse…", "参照…", "Durchsuchen…"}},
    {"TCfgForm", "BtnBrowseTileData", {"Browse…", "参照…", "Durchsuchen…"}},
    {"TCfgForm", "BtnBrowseMultiIdx", {"Browse…", "参照…", "Durchsuchen…"}},
    {"TCfgForm", "BtnBrowseMulti", {"Browse…", "参照…", "Durchsuchen…"}},
    {"TCfgForm", "BtnClientFolder", {"Client folder…", "クライアントフォルダ…", "Client-Ordner…"}},
    {"TCfgForm",
     "BtnUseDemo",
     {"Use the demo client", "デモクライアントを使う", "Demo-Client verwenden"}},
    {"TMainForm", "MnRecent", {"Recent &Files", "最近使ったファイル(&R)", "&Zuletzt geöffnet"}},
    {"TMainForm",
     "MnClearRecent",
     {"Clear Recent Files", "最近使ったファイルの一覧を消去", "Liste leeren"}},
    {"TMainForm",
     "MnWholeImage",
     {"Save &Whole House Image...", "家全体の画像を保存(&W)...",
      "Bild des &ganzen Hauses speichern..."}},
    {"TMainForm",
     "MnImportDesign",
     {"Import Design...", "デザインのインポート...", "Design importieren..."}},
    {"TMainForm",
     "MnExportDesign",
     {"Export Design...", "デザインのエクスポート...", "Design exportieren..."}},
};

// Tooltips of the tool windows' controls.
const Row kToolTips[] = {
    {"TCtrlForm", "IdxImg", {"The current tile", "現在のタイル", "Das aktuelle Teil"}},
    {"TCtrlForm",
     "BtnDelete",
     {"Delete the entries in the selection on this floor", "選択範囲のこの階のタイルを削除",
      "Die Teile der Auswahl auf diesem Stockwerk löschen"}},
    {"TCtrlForm",
     "BtnAdd",
     {"Place the current tile on every cell of the selection",
      "選択範囲のすべてのセルに現在のタイルを置く",
      "Das aktuelle Teil auf jedes Feld der Auswahl setzen"}},
    {"TCtrlForm", "TBFloor", {"The floor you edit", "編集する階", "Das bearbeitete Stockwerk"}},
    {"TCtrlForm",
     "TBHeight",
     {"The lowest altitude of a new tile", "新しいタイルの最低の高さ",
      "Die niedrigste Höhe eines neuen Teils"}},
    {"TCtrlForm",
     "TBBaseHeight",
     {"The height of the foundation", "土台の高さ", "Die Höhe des Fundaments"}},
    {"TCtrlForm",
     "RGEditmode",
     {"How a click places tiles", "クリックでのタイルの置き方", "Wie ein Klick Teile setzt"}},
    {"TCtrlForm",
     "CBObjWindow",
     {"Show the object catalogue", "オブジェクトウィンドウを表示", "Den Objektkatalog zeigen"}},
    {"TCtrlForm",
     "CBAoSWindow",
     {"Show the AoS window: parts and prices", "AoSウィンドウ（部品と価格）を表示",
      "Das AoS-Fenster zeigen: Teile und Preise"}},
    {"TCtrlForm",
     "BtnShow",
     {"Show the hidden cells of the selection", "選択範囲の隠したセルを表示",
      "Die versteckten Felder der Auswahl zeigen"}},
    {"TCtrlForm",
     "BtnHide",
     {"Hide the cells of the selection", "選択範囲のセルを隠す",
      "Die Felder der Auswahl verstecken"}},
    {"TCtrlForm",
     "BtnShowAll",
     {"Show every hidden cell", "隠したセルをすべて表示", "Alle versteckten Felder zeigen"}},
    {"TCtrlForm",
     "LBDetail",
     {"The stack of the chosen cell, top first", "選択したセルのタイル（上から）",
      "Der Stapel des gewählten Feldes, oben zuerst"}},
    {"TCtrlForm",
     "BtnCellUp",
     {"Move the chosen entry up", "選択したタイルを上へ", "Den gewählten Eintrag nach oben"}},
    {"TCtrlForm",
     "BtnCellDown",
     {"Move the chosen entry down", "選択したタイルを下へ", "Den gewählten Eintrag nach unten"}},
    {"TCtrlForm",
     "BtnCellDelete",
     {"Delete the chosen entry", "選択したタイルを削除", "Den gewählten Eintrag löschen"}},
    {"TCtrlForm",
     "CBMag",
     {"Zoom: choose or type a percentage and press Enter", "ズーム：選ぶか百分率を入力してEnter",
      "Zoom: wählen oder Prozent eingeben und Enter drücken"}},
    {"TCtrlForm",
     "CBPartsLock",
     {"Keep the parts of the customization rules from being moved or deleted",
      "カスタマイズ部品を移動・削除できないようにする",
      "Die Teile der Hausregeln vor Verschieben und Löschen schützen"}},
    {"TAoSForm",
     "CBType",
     {"The kind of part the grid offers", "表に出す部品の種類", "Die Art der angebotenen Teile"}},
    {"TAoSForm",
     "DGObj",
     {"Click a part to make it the current tile", "部品をクリックして現在のタイルにする",
      "Ein Teil anklicken, um es zum aktuellen Teil zu machen"}},
    {"TAoSForm",
     "BtnSetValue",
     {"Take the current price as the reference price", "現在の価格を基準価格にする",
      "Den aktuellen Preis als Vergleichspreis nehmen"}},
    {"TAoSForm",
     "EdOldPrice",
     {"The reference price the difference is counted from", "差額の基準となる価格",
      "Der Vergleichspreis für die Differenz"}},
    {"TObjForm",
     "Tab",
     {"All tiles, then your pages", "すべてのタイルと登録したページ",
      "Alle Teile, dann Ihre Seiten"}},
    {"TObjForm",
     "DGObj",
     {"Click a tile to make it the current tile; Del removes it from a page",
      "クリックで現在のタイルに、Delでページから削除",
      "Ein Teil anklicken, um es zu wählen; Entf entfernt es von einer Seite"}},
};

// Status-bar hints of the main window's menu items.
const Row kStatusTips[] = {
    {"TMainForm", "MnNewFile", {"Start a new house", "新しい家を作成", "Ein neues Haus beginnen"}},
    {"TMainForm", "Open1", {"Open a house file", "家のファイルを開く", "Eine Hausdatei öffnen"}},
    {"TMainForm", "Close1", {"Save the house", "家を保存", "Das Haus speichern"}},
    {"TMainForm",
     "SaveAs1",
     {"Save the house under a new name", "名前を付けて家を保存",
      "Das Haus unter neuem Namen speichern"}},
    {"TMainForm",
     "MnRecent",
     {"Open a house file used lately", "最近使った家のファイルを開く",
      "Eine zuletzt verwendete Hausdatei öffnen"}},
    {"TMainForm",
     "MnClearRecent",
     {"Forget the recent files", "最近使ったファイルの一覧を消去",
      "Die zuletzt verwendeten Dateien vergessen"}},
    {"TMainForm",
     "MnImportClip",
     {"Load a house from the clipboard text", "クリップボードのテキストから家を読み込む",
      "Ein Haus aus dem Text der Zwischenablage laden"}},
    {"TMainForm",
     "MnExportClip",
     {"Copy the house to the clipboard as text", "家をテキストとしてクリップボードにコピー",
      "Das Haus als Text in die Zwischenablage kopieren"}},
    {"TMainForm",
     "MnImportDesign",
     {"Load a house from a design file of another tool",
      "他のツールのデザインファイルから家を読み込む",
      "Ein Haus aus der Entwurfsdatei eines anderen Werkzeugs laden"}},
    {"TMainForm",
     "MnExportDesign",
     {"Write the house as a design file for another tool",
      "家を他のツール用のデザインファイルに書き出す",
      "Das Haus als Entwurfsdatei für ein anderes Werkzeug schreiben"}},
    {"TMainForm",
     "MnImportCache",
     {"Import a house from the client's cache", "クライアントのキャッシュから家をインポート",
      "Ein Haus aus dem Cache des Clients importieren"}},
    {"TMainForm",
     "ImageSaveas1",
     {"Save the visible part of the view as a picture", "表示中の部分を画像として保存",
      "Den sichtbaren Teil der Ansicht als Bild speichern"}},
    {"TMainForm",
     "MnWholeImage",
     {"Save a picture of the whole house up to the current floor",
      "現在の階までの家全体を画像として保存",
      "Ein Bild des ganzen Hauses bis zum aktuellen Stockwerk speichern"}},
    {"TMainForm", "Exit1", {"End the editor", "エディタを終了", "Den Editor beenden"}},
    {"TMainForm",
     "MnUndo",
     {"Undo the last change", "最後の変更を元に戻す", "Die letzte Änderung zurücknehmen"}},
    {"TMainForm",
     "MnRedo",
     {"Redo the change undone", "元に戻した変更をやり直す",
      "Die zurückgenommene Änderung wiederholen"}},
    {"TMainForm", "MnCut", {"Cut the selection", "選択範囲を切り取り", "Die Auswahl ausschneiden"}},
    {"TMainForm", "MnCopy", {"Copy the selection", "選択範囲をコピー", "Die Auswahl kopieren"}},
    {"TMainForm",
     "MnPaste",
     {"Paste at the selection", "選択位置に貼り付け", "An der Auswahl einfügen"}},
    {"TMainForm", "MnDelete", {"Delete the selection", "選択範囲を削除", "Die Auswahl löschen"}},
    {"TMainForm",
     "CopyBMP1",
     {"Copy the view as a picture", "表示を画像としてコピー", "Die Ansicht als Bild kopieren"}},
    {"TMainForm",
     "MnReplaceWall",
     {"Replace the parts of the selection with the chosen material",
      "選択範囲の部品を選んだ素材に置き換え",
      "Die Teile der Auswahl durch das gewählte Material ersetzen"}},
    {"TMainForm",
     "MnFoundation",
     {"Build a foundation in a chosen style", "選んだスタイルで土台を作る",
      "Ein Fundament im gewählten Stil bauen"}},
    {"TMainForm",
     "MnDeleteCustomize",
     {"Delete everything but the customization parts", "カスタマイズ部品以外をすべて削除",
      "Alles außer den Teilen der Hausregeln löschen"}},
    {"TMainForm",
     "Option1",
     {"Client files, plot size, language and more", "クライアントファイル、敷地の大きさ、言語など",
      "Client-Dateien, Grundstücksgröße, Sprache und mehr"}},
    {"TMainForm",
     "MnHideWalls",
     {"Draw the walls see-through", "壁を透かして表示", "Mauern durchsichtig zeichnen"}},
    {"TMainForm",
     "MnShowGrid",
     {"Show the cell grid", "セルのグリッドを表示", "Das Gitter der Felder zeigen"}},
    {"TMainForm",
     "MnDownstair",
     {"Show the walls of the floor below", "下の階の壁を表示",
      "Die Mauern des unteren Stockwerks zeigen"}},
    {"TMainForm",
     "MnShowPropriety",
     {"Mark the parts that break the customization rules", "カスタマイズの規則に反する部品を表示",
      "Teile markieren, die gegen die Hausregeln verstoßen"}},
    {"TMainForm",
     "MnLight",
     {"Show the house at night with its lights", "夜の様子を明かりと共に表示",
      "Das Haus nachts mit seinen Lichtern zeigen"}},
    {"TMainForm",
     "MnStickWnd",
     {"Keep the control window at the main window's edge",
      "コントロールをメインウィンドウの端に固定",
      "Das Kontrollfenster am Rand des Hauptfensters halten"}},
    {"TMainForm",
     "MnCtrlWnd",
     {"Show the control window", "コントロールを表示", "Das Kontrollfenster zeigen"}},
    {"TMainForm", "MnContents", {"Open the help pages", "ヘルプを開く", "Die Hilfeseiten öffnen"}},
    {"TMainForm", "About1", {"About the editor", "エディタについて", "Über den Editor"}},
};

QObject* Find(QWidget* window, const char* name) {
  if (!window) return nullptr;
  if (window->objectName() == QLatin1String(name)) return window;
  return window->findChild<QObject*>(QString::fromLatin1(name));
}

QWidget* WindowOf(const LanguageWindows& w, const char* cls) {
  if (!std::strcmp(cls, "TMainForm")) return w.main;
  if (!std::strcmp(cls, "TCtrlForm")) return w.ctrl;
  if (!std::strcmp(cls, "TCfgForm")) return w.cfg;
  if (!std::strcmp(cls, "TObjForm")) return w.obj;
  if (!std::strcmp(cls, "TAoSForm")) return w.aos;
  return nullptr;
}

QString TextOf(const Row& row, int language) {
  return QString::fromUtf8(row.text[EffectiveLanguage(language)]);
}

}  // namespace

const UiTexts& UiTextsFor(int language) {
  static const UiTexts kTexts[3] = {
      {"All required files are found.", "Still missing: %1",
       "%1 entries lie outside the new plot and will be removed. Continue?",
       "Cannot open the multi file '%1'.\nSet the multi files under Edit > Option.",
       "No Multicache.dat was found under %1.",
       "No client folder is known; set the client files under Edit > Option.",
       "'%1' no longer exists and is removed from the recent files.",
       "The client files were not found. Set them below (Browse… or Client folder…).", "Working…",
       "Choose the client folder", "Demo client in use: %1"},
      {QString::fromUtf8("必要なファイルはすべて揃っています。"),
       QString::fromUtf8("まだ見つからないファイル: %1"),
       QString::fromUtf8("%1 個のタイルが新しい敷地の外にあり、削除されます。続けますか？"),
       QString::fromUtf8(
           "マルチファイル '%1' を開けません。\n編集 > 設定 でマルチファイルを設定してください。"),
       QString::fromUtf8("%1 の下に Multicache.dat が見つかりませんでした。"),
       QString::fromUtf8("クライアントフォルダが不明です。編集 > 設定 "
                         "でクライアントファイルを設定してください。"),
       QString::fromUtf8("'%1' は存在しないため、最近使ったファイルの一覧から削除しました。"),
       QString::fromUtf8("クライアントのファイルが見つかりません。下で設定してください（参照… "
                         "またはクライアントフォルダ…）。"),
       QString::fromUtf8("処理中…"), QString::fromUtf8("クライアントフォルダを選択"),
       QString::fromUtf8("デモクライアントを使用中: %1")},
      {QString::fromUtf8("Alle benötigten Dateien sind vorhanden."),
       QString::fromUtf8("Es fehlen noch: %1"),
       QString::fromUtf8(
           "%1 Einträge liegen außerhalb des neuen Grundstücks und werden entfernt. Fortfahren?"),
       QString::fromUtf8("Die Multi-Datei '%1' lässt sich nicht öffnen.\nBitte die Multi-Dateien "
                         "unter Bearbeiten > Optionen festlegen."),
       QString::fromUtf8("Unter %1 wurde keine Multicache.dat gefunden."),
       QString::fromUtf8("Kein Client-Ordner bekannt; bitte die Client-Dateien unter Bearbeiten > "
                         "Optionen festlegen."),
       QString::fromUtf8("'%1' existiert nicht mehr und wird aus der Liste entfernt."),
       QString::fromUtf8("Die Client-Dateien wurden nicht gefunden. Bitte unten festlegen "
                         "(Durchsuchen… oder Client-Ordner…)."),
       QString::fromUtf8("Bitte warten…"), QString::fromUtf8("Client-Ordner wählen"),
       QString::fromUtf8("Demo-Client in Verwendung: %1")},
  };
  return kTexts[EffectiveLanguage(language)];
}

void ApplyUiTexts(int language, const LanguageWindows& w) {
  for (const Row& row : kCaptions) {
    QObject* o = Find(WindowOf(w, row.window), row.control);
    const QString text = TextOf(row, language);
    if (auto* menu = qobject_cast<QMenu*>(o))
      menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(o))
      action->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(o))
      button->setText(text);
  }
  for (const Row& row : kToolTips)
    if (auto* widget = qobject_cast<QWidget*>(Find(WindowOf(w, row.window), row.control)))
      widget->setToolTip(TextOf(row, language));
  // Every standard house of Import Multi shares one hint.
  if (w.main) {
    static const char* const kImportHint[3] = {"Import this standard house",
                                               "この標準の家をインポート",
                                               "Dieses Standardhaus importieren"};
    for (QAction* a : w.main->findChildren<QAction*>())
      if (a->property("taviImportItem").toBool())
        a->setStatusTip(QString::fromUtf8(kImportHint[EffectiveLanguage(language)]));
  }
  for (const Row& row : kStatusTips) {
    QObject* o = Find(WindowOf(w, row.window), row.control);
    if (auto* menu = qobject_cast<QMenu*>(o)) o = menu->menuAction();
    if (auto* action = qobject_cast<QAction*>(o)) action->setStatusTip(TextOf(row, language));
  }
}

QString ToolTipFor(int language, const char* window, const char* control) {
  for (const Row& row : kToolTips)
    if (!std::strcmp(row.window, window) && !std::strcmp(row.control, control))
      return TextOf(row, language);
  return QString();
}

QString StatusTipFor(int language, const char* action) {
  for (const Row& row : kStatusTips)
    if (!std::strcmp(row.control, action)) return TextOf(row, language);
  return QString();
}

}  // namespace tavi
