#include "app/dialogs/AboutUsForm.h"

#include "base/AppInfo.h"
#include "ui/AppStyle.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

AboutUsForm::AboutUsForm(QWidget* parent) : QDialog(parent)
{
    buildForm();
    setStyleSheet(appStyleSheet());
}

void AboutUsForm::buildForm()
{
    setObjectName(QStringLiteral("AboutUsForm"));
    resize(400, 194);
    setWindowTitle(tr("Dialog"));

    auto* lbTitle = new QLabel(tr("\u5173\u4e8e"), this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    lbTitle->setGeometry(20, 10, 121, 16);

    auto* picApp = new QGraphicsView(this);
    picApp->setObjectName(QStringLiteral("picApp"));
    picApp->setGeometry(20, 40, 64, 64);
    picApp->setStyleSheet(QStringLiteral("background:Transparent;border:0;"));
    picApp->setFocusPolicy(Qt::NoFocus); // a picture: Tab goes from the link to OK
    auto* scene = new QGraphicsScene(picApp);
    scene->addPixmap(QPixmap(QStringLiteral(":main")).scaledToHeight(64));
    picApp->setScene(scene);

    auto* lbProduct = new QLabel(this);
    lbProduct->setObjectName(QStringLiteral("lbProduct"));
    lbProduct->setGeometry(100, 48, 281, 31);
    lbProduct->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbProduct->setWordWrap(true);
    lbProduct->setText(QStringLiteral("%1 v%2").arg(tr("Textferry"), QLatin1String(AppInfo::kVersion)));

    const QString homePage = QString::fromLatin1(AppInfo::kHomePage);
    auto* lbHomePage = new QLabel(this);
    lbHomePage->setObjectName(QStringLiteral("lbHomePage"));
    lbHomePage->setGeometry(100, 120, 121, 16);
    lbHomePage->setTextFormat(Qt::RichText);
    lbHomePage->setOpenExternalLinks(true);
    lbHomePage->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lbHomePage->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(homePage.toHtmlEscaped(), QUrl(homePage).host()));

    auto* btnOK = new QPushButton(tr("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(160, 160, 75, 23);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::pressed, this, &QDialog::accept);
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_AboutUsForm.cpp"
