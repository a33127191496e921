#pragma once

#include "drills/ui/TFmLinePractice.h"

// The free drill: the user types in what to practise (Insert), the entry is repeated into one
// line of about 80 characters, and that line comes again after every line end.
class TFmLetterPrac : public TFmLinePractice {
    Q_OBJECT
public:
    explicit TFmLetterPrac(QWidget* owner = nullptr);

    bool LineDefined = false;

    void InputEditKeyDown(quint16& Key) override;
    void NextLine() override;

protected:
    void FormCreate() override;
};
