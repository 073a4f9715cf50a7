#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include "panel_tool/panel_feed.h"

namespace dotwall::panel_tool {

// The DotwallPanel window: the panel's picture, pixel-exact at 1x to 4x (View), and the
// status line under it. A live feed is looked at once per refresh of the screen, and the
// picture is drawn again only when a new frame came.
class PanelWindow final : public QMainWindow {
    Q_OBJECT

  public:
    explicit PanelWindow(PanelFeed feed, int scale = 1, QWidget* parent = nullptr);

  private:
    void createMenus();
    void look();
    void setScale(int scale);
    void showPicture();
    void showStatus();

    PanelFeed feed_;
    int scale_;
    QLabel* picture_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer looks_;
};

}  // namespace dotwall::panel_tool
