#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QScreen>
#include <QWidget>

namespace {
constexpr QSize kUsefulSize(800, 500);

QSize fittedSize(const QWidget* parent)
{
    const QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen)
        return kUsefulSize;
    const QSize room = screen->availableSize() * 4 / 5;
    return kUsefulSize.boundedTo(room);
}

QString runFileDialog(QFileDialog& dialog, QWidget* parent, QString* selectedFilter)
{
    dialog.resize(fittedSize(parent));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filters,
                        QString* selectedFilter)
{
    QFileDialog dialog(parent, caption, start, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dialog, parent, selectedFilter);
}

QString askOpenFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filters)
{
    QFileDialog dialog(parent, caption, start, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog, parent, nullptr);
}
