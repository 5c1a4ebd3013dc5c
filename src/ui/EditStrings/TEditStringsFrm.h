#pragma once

#include "ui_TEditStringsFrm.h"

#include <QByteArray>
#include <QDialog>
#include <optional>

struct DisplayCharset;

// The editor of one string pair: the find and replace texts and the pair's
// options text. Created once and reused; the controls keep their state between
// showings except what the callers set. The texts are the job's bytes (line
// breaks CR LF), shown through the selected display charset; typed text is
// encoded back through it, and the dialog refuses to close with OK while a
// text holds a character that charset cannot store. With "Regular
// expression" checked the white-space modes and the wildcards do not apply
// (they are disabled and written as None), and OK refuses a pattern PCRE2
// cannot compile, marking where, or a replacement that refers to a group the
// pattern does not have.
class TEditStringsFrm : public QDialog, public Ui::TEditStringsFrm
{
    Q_OBJECT
public:
    explicit TEditStringsFrm(QWidget *parent = nullptr);

    void OptionsFromText(const QByteArray &optionsText);
    QByteArray OptionsToText() const;
    // Unchecks case sensitivity and "Regular expression" and sets white
    // spaces to None; whole words, the wildcards and the charset stay as they
    // are.
    void ResetOptions();
    void SetEquidistantFont(bool on);

    void setFindText(const QByteArray &bytes);
    QByteArray findText() const;
    void setReplaceText(const QByteArray &bytes);
    QByteArray replaceText() const;

    // Closing returns the view to Text; closing with Accepted then runs the
    // close checks, and a check that fails keeps the dialog open.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The bytes a memo was last filled with and the text it showed for them,
    // so that an untouched text gives back its bytes exactly, even bytes its
    // charset cannot show.
    struct MemoText {
        QByteArray bytes;
        QString shown;
        bool shownAsHtml = false;
    };

    void CharsetCBxChange();
    void ViewAsCBxChange(int index);
    void SingleCharWildCardCBxChange();
    void MultiCharWildCardCBxChange();
    void RegularExpressionChkChange();

    bool htmlView() const;
    const DisplayCharset &selectedCharset() const;
    void showBytes(QPlainTextEdit *memo, MemoText &state, const QByteArray &bytes, bool asHtml);
    std::optional<QByteArray> memoBytes(const QPlainTextEdit *memo, const MemoText &state) const;

    bool closeChecksPass();
    bool wildcardChecksPass(const QByteArray &find);
    bool regularExpressionChecksPass(const QByteArray &find);
    bool textsFitCharset();
    bool keepOrClearAbsentWildcard(QComboBox *list, const char *piece, const QByteArray &find);

    MemoText m_find;
    MemoText m_replace;
    const DisplayCharset *m_shownCharset; // the charset the memos show their bytes through
    bool m_equidistantFont = false;
};
