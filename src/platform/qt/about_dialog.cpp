#include "platform/qt/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/dialogs.h"

namespace korvane::qt {

LogoView::LogoView(QWidget* parent) : QWidget(parent), renderer_(QStringLiteral(":/logo.svg")) {
    setFixedSize(kLogoSize);
    setAttribute(Qt::WA_OpaquePaintEvent, renderer_.isValid());
}

void LogoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer_.render(&painter, QRectF(QPointF(0, 0), kLogoSize));
}

// The words under the logo: what the game is, its version, its licence and where it lives.
QString AboutDialog::aboutText() {
    return QStringLiteral("<p align=\"center\"><b>Korvane %1</b><br>A twisty-puzzle game.</p>"
                          "<p align=\"center\">Free software under the MIT licence.<br>"
                          "<a href=\"%2\">%2</a></p>")
        .arg(QStringLiteral(KORVANE_VERSION), QString::fromLatin1(kHomePage));
}

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), logo_(new LogoView(this)), text_(new QLabel(aboutText(), this)) {
    setWindowTitle(QStringLiteral("Korvane V" KORVANE_VERSION));
    text_->setTextFormat(Qt::RichText);
    text_->setOpenExternalLinks(true);
    text_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    text_->setAlignment(Qt::AlignHCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(logo_);
    layout->addWidget(text_);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(10, 0, 10, 0);
    row->addWidget(buttons);
    layout->addLayout(row);
}

void runAboutDialog(QWidget* parent) {
    AboutDialog dialog(parent);
    dialog.exec();
}

} // namespace korvane::qt
