#include "panel_tool/panel_window.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "panel_link/panel_link.h"
#include "picture/area_image.h"

namespace dotwall::panel_tool {

PanelWindow::PanelWindow(PanelFeed feed, int scale, QWidget* parent)
    : QMainWindow(parent), feed_(std::move(feed)), scale_(scale) {
    setObjectName("PanelWindow");
    setWindowTitle("DotwallPanel");
    setWindowIcon(QIcon(":/dotwall_panel/icon.ico"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    picture_ = new QLabel(content);
    picture_->setObjectName("picture");
    status_ = new QLabel(content);
    status_->setObjectName("status");
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(picture_);
    layout->addWidget(status_);
    // The window takes the size of the picture at its scale.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setCentralWidget(content);
    createMenus();
    showPicture();
    showStatus();

    if (feed_.live()) {
        // At most one look per refresh of the screen: a faster look would draw nothing new.
        const qreal refreshRate = screen()->refreshRate() > 0 ? screen()->refreshRate() : 60;
        looks_.setInterval(static_cast<int>(std::ceil(1000 / refreshRate)));
        connect(&looks_, &QTimer::timeout, this, &PanelWindow::look);
        looks_.start();
    }
}

void PanelWindow::createMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu("&View");
    auto* scales = new QActionGroup(this);
    for (int scale = 1; scale <= 4; ++scale) {
        QAction* action = view->addAction(QString("%1x").arg(scale));
        action->setObjectName(QString("scale%1").arg(scale));
        action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + scale)));
        action->setCheckable(true);
        action->setChecked(scale == scale_);
        scales->addAction(action);
        connect(action, &QAction::triggered, this, [this, scale] { setScale(scale); });
    }
}

void PanelWindow::look() {
    if (feed_.look(panel_link::clockNow())) {
        showPicture();
    }
    showStatus();
}

void PanelWindow::setScale(int scale) {
    scale_ = scale;
    showPicture();
}

void PanelWindow::showPicture() {
    picture_->setPixmap(QPixmap::fromImage(panelImage(feed_.picture(), scale_)));
}

void PanelWindow::showStatus() {
    const QString status = QString::fromStdString(feed_.status());
    if (status_->text() != status) {
        status_->setText(status);
    }
}

}  // namespace dotwall::panel_tool
