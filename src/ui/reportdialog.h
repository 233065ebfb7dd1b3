#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;

// What a report dialog asks, if anything.
struct SReportQuestion {
    QString acceptText; // "&Apply"; empty: the dialog only shows the report
    bool bRisky = false;
};

// A report a person reads, copies and, when asked, agrees to: a sentence above, the report as
// read-only text below, and Copy, which copies all of it (as does Ctrl+C while nothing is
// selected). Without an accept text the dialog only closes; with one it asks, with that button
// and Cancel, and Cancel is the default when the accept button is a risky one.
class CReportDialog : public QDialog {
public:
    CReportDialog(QWidget* parent, const QString& title, const QString& intro,
                  const QString& report, const SReportQuestion& ask = {});

    QString Intro() const;
    QString Report() const;
    // Puts the whole report on the clipboard.
    void CopyAll() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddButtons(const SReportQuestion& ask);

    QLabel* m_pIntro = nullptr;
    QPlainTextEdit* m_pReport = nullptr;
};
