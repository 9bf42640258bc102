#include "platform/qt/about_dialog.h"

#include <QPainter>
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

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), logo_(new LogoView(this)) {
    setWindowTitle(QStringLiteral("Korvane V1.1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(logo_);
}

void runAboutDialog(QWidget* parent) {
    AboutDialog dialog(parent);
    dialog.exec();
}

} // namespace korvane::qt
