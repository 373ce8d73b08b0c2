// The vendor's web server: the update check and the promotion link, still to
// come. Each slot already has its wiring; the body marked "Seam" is where
// that work plugs in.
#include "app/MainWindow.h"

// Seam: the daily update check and the promotion link request, whose replies
// land in onCheckVersionReadyRead() and onGetAdvLinkRead().
void MainWindow::startUpdateAndPromotionRequests() {}

// Seam: the update reply (a newer version's address offers the download).
void MainWindow::onCheckVersionReadyRead() {}

// Seam: the promotion reply (shown in the status bar and kept in "last-adv").
void MainWindow::onGetAdvLinkRead() {}

// Seam: open the vendor's update page.
void MainWindow::miCheckUpdate() {}
