#pragma once

#include "ui_TEditStringsFrm.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

struct DisplayCharset;

// The editor of one string pair: the find and replace texts and the pair's
// options text. Created once and reused; the controls keep their state between
// showings except what the callers set. The texts are the job's texts (line
// breaks CR LF); the display charset says how the pair is spelled in ANSI
// files, and a hint tells when it cannot spell the texts. With "Regular
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

    void setFindText(const QString &text);
    QString findText() const;
    void setReplaceText(const QString &text);
    QString replaceText() const;

    // Closing returns the view to Text; closing with Accepted then runs the
    // close checks, and a check that fails keeps the dialog open.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The text a memo was last filled with and what it showed for it, so
    // that an untouched text comes back exactly, even bytes a settings file
    // held that its charset does not spell.
    struct MemoText {
        QString text;
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
    void showText(QPlainTextEdit *memo, MemoText &state, const QString &text, bool asHtml);
    QString memoText(const QPlainTextEdit *memo, const MemoText &state) const;
    void updateCharsetHint();

    bool closeChecksPass();
    bool wildcardChecksPass(const QString &find);
    bool regularExpressionChecksPass(const QString &find);
    bool keepOrClearAbsentWildcard(QComboBox *list, const char *piece, const QString &find);

    MemoText m_find;
    MemoText m_replace;
    bool m_equidistantFont = false;
};
