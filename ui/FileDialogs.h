#pragma once

#include <QString>

class QWidget;

// The window's file dialogs, opened at a size that shows the folder: 800 by
// 500, or four fifths of a smaller screen. Empty when the user cancels.
//
// The save dialog starts with the first filter of `filters` (";;"-separated)
// and, when selectedFilter is given, hands back the one the user chose.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filters,
                        QString* selectedFilter = nullptr);
QString askOpenFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filters);
