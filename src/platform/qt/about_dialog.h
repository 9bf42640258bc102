#pragma once

#include <QDialog>
#include <QSvgRenderer>
#include <QWidget>

class QLabel;

namespace korvane::qt {

// The game's logo at its fixed logical size, drawn from the vector artwork on every paint so
// that it stays crisp at any device pixel ratio.
class LogoView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kLogoSize{240, 280};

    explicit LogoView(QWidget* parent = nullptr);
    bool hasPicture() const { return renderer_.isValid(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer renderer_;
};

// The about box: the logo captioned with the game's name and version, then the version, the
// licence and the home page in words, and a Close button (Escape closes it too).
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHomePage = "https://helmfirth.github.io/korvane/";

    explicit AboutDialog(QWidget* parent = nullptr);
    LogoView* logo() const { return logo_; }
    QLabel* text() const { return text_; }
    static QString aboutText();

private:
    LogoView* logo_;
    QLabel* text_;
};

} // namespace korvane::qt
