#pragma once
// The user-interface languages: English, Japanese and German. One routine
// applies a language to every window: fonts, the message texts, the captions
// (found by object name) and the four selection lists.
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QTranslator;
class QWidget;

namespace tavi {

enum Language : int { kLangEnglish = 0, kLangJapanese = 1, kLangGerman = 2 };

// Any value other than 1 and 2 shows the English texts.
int EffectiveLanguage(int language);

// The texts shown in message and input boxes.
struct LangMessages {
  QString MsgModified, MsgFoundation, MsgDeletePage, MsgCopied, MsgBrokenText, MsgFileVersion,
      MsgNotFound, MsgAlreadyRegistered, MsgSearchCaption, MsgSearchPrompt, MsgNewPageCaption,
      MsgNewPagePrompt, MsgRenameCaption, MsgRenamePrompt, MsgGettingVersion, MsgNewVersion,
      MsgFetchFailed, MsgNoNewInfo;
  // No web browser could be started; the page's address follows on its own line.
  QString MsgNoBrowser;
};

// The windows a language is applied to; any of them may be null.
struct LanguageWindows {
  QWidget* main = nullptr;
  QWidget* ctrl = nullptr;
  QWidget* cfg = nullptr;
  QWidget* obj = nullptr;
  QWidget* aos = nullptr;
  QWidget* multi = nullptr;
  QWidget* update = nullptr;
  QWidget* foundation = nullptr;
  // Rebuilds the AoS window's type list keeping its selection; without it the
  // combo box named "CBType" of the AoS window is rebuilt directly.
  std::function<void(const QStringList&)> setAoSTypeNames;
};

// Applies `language`: fonts and messages always; captions and lists only when
// the main window's File menu does not already show the language's text.
// Returns whether captions and lists were applied.
bool ApplyLanguage(int language, const LanguageWindows& windows, LangMessages* messages);

LangMessages MessagesFor(int language);
// The window font of a language, falling back to the system's faces where the
// named ones do not exist.
QFont LanguageFont(int language);
// A caption of the tables: `window` is the class name ("TMainForm"), an
// empty `control` names the window caption. Empty when there is no such row.
QString CaptionFor(int language, const char* window, const char* control);
// The four lists: "RGEditmode", "CBJpegQuality", "CBBGType", "CBType".
QStringList ListFor(int language, const char* list);
// Number of caption rows per language.
int CaptionCount();

// Qt's own texts (the buttons of message and input boxes, file dialogs) in
// a language: the base name of Qt's translation file, empty for English.
QString QtTranslationName(int language);
// Installs Qt's translation of `language` from `folder` in place of the one
// `translator` held (empty: Qt's installed translations). English, or a
// missing file, leaves Qt's texts in English; false then, and no error.
bool SwitchQtTranslation(QTranslator* translator, int language, const QString& folder = QString());

}  // namespace tavi
