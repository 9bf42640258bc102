#pragma once

#include <QDialog>
#include <QSvgRenderer>
#include <QWidget>

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

// The about box: the logo and nothing else, captioned with the game's name and version. It
// has no buttons; the window's close control (or Escape) ends it.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    LogoView* logo() const { return logo_; }

private:
    LogoView* logo_;
};

} // namespace korvane::qt
