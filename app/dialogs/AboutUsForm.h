#pragma once

#include <QDialog>

// The about box: product name and version beside the application picture, and
// a link to the vendor's home page. Frameless, styled and draggable.
class AboutUsForm : public QDialog
{
    Q_OBJECT
public:
    explicit AboutUsForm(QWidget* parent = nullptr);

private:
    void buildForm();

};
