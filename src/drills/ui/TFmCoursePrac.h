#pragma once

#include "drills/ui/TCourseNav.h"
#include "drills/ui/TFmSentencePrac.h"

class QLabel;

// The course drill: the course's "course.txt" line by line from the stored position. A line
// typed with at least 95 % accuracy, or skipped with Enter, moves on; a line below 95 % comes
// again. The arrow keys move to the previous or next line and Insert asks for a line number.
class TFmCoursePrac : public TFmSentencePrac {
    Q_OBJECT
public:
    explicit TFmCoursePrac(QWidget* owner = nullptr);

    QLabel* Label1 = nullptr; // "line / lines"
    TCourseNav NavCommand = cnNone;
    int32_t CurrentLine = 0;

    void SetCurrentLine(int32_t V) { CurrentLine = V; }
    int32_t GetCurrentLine() const { return CurrentLine; }

    void InputEditKeyDown(quint16& Key) override;
    void NextLine() override;

protected:
    void FormCreate() override;
    void FormShow() override;

private:
    void showEndOfCourse();
};
