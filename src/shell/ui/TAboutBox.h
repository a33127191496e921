#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: product name, version, rights notice and web address above an OK button.
// The logon window is built on it and is the only place it is seen.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QPushButton* OKButton = nullptr;
    QLabel* ProductNameLb = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* VersionLb = nullptr;
    QLabel* CopyrightLb = nullptr;
    QLabel* WebLb = nullptr;
    QFrame* Bevel1 = nullptr;

protected:
    // For windows built on this one: their constructor runs the create handler itself, once
    // their own components exist.
    enum class DeferCreate { Yes };
    TAboutBox(QWidget* parent, DeferCreate);

    // Translates the window's texts and sets the three enciphered captions.
    virtual void FormCreate();
    bool eventFilter(QObject* watched, QEvent* event) override;

protected slots:
    virtual void OKButtonClick();
    void WebLbClick();
};

// A font by the window description's terms: a height in pixels (negative in the description).
QFont describedFont(const QString& family, int pixelHeight, bool bold = false);
