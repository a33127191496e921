#pragma once

#include "drills/ui/TFmLinePractice.h"
#include "drills/ui/TOpenDialog.h"

class QToolBar;
class QToolButton;

// The text drill: a whole text of several lines from a file or the clipboard, typed as one long
// sample on the whole screen. Enter types the line breaks (and never ends the text), the "#"
// button shows while a line break is expected, and the input box takes no more keys once the
// text is finished, until it is started again.
class TFmLongText : public TFmLinePractice {
    Q_OBJECT
public:
    explicit TFmLongText(QWidget* owner = nullptr);

    QToolBar* ToolBar1 = nullptr;
    QToolButton* BnLoad = nullptr;
    QToolButton* BnPaste = nullptr;
    QToolButton* BnRestart = nullptr;
    QToolButton* BnClose = nullptr;
    QToolButton* BnShowReturn = nullptr;
    TOpenDialog OpenDialog1;

    void LoadTextFromFile();
    void PasteText();
    void ApplySampleFont();
    void StartText();
    void SetBackgroundColor(int32_t Color) override;

    void ShowKeyHint(char Ch) override;
    void ArrangeLayout() override;
    void MarkCorrect() override;
    void MarkWrong() override;
    bool HighlightCurrent() override;
    void NextLine() override;

protected:
    void FormCreate() override;
    void layoutClientArea() override;

private slots:
    void BnLoadClick();
    void BnPasteClick();
    void BnRestartClick();
    void BnCloseClick();

private:
    QToolButton* addButton(const char* objectName, const QString& caption, const QString& hint);
};
