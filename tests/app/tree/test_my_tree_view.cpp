#include "app/views/MyTreeView.h"

#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

class TestMyTreeView : public QObject
{
    Q_OBJECT

private slots:
    void reportsSelectionChanges();
    void reportsContextMenuRequests();
};

void TestMyTreeView::reportsSelectionChanges()
{
    QStandardItemModel model;
    model.appendRow(new QStandardItem(QStringLiteral("a")));
    model.appendRow(new QStandardItem(QStringLiteral("b")));
    MyTreeView view;
    view.setModel(&model);
    QSignalSpy spy(&view, &MyTreeView::onSelectionChanged);

    view.selectionModel()->select(model.index(0, 0), QItemSelectionModel::ClearAndSelect);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QItemSelection>().indexes(), QModelIndexList{model.index(0, 0)});
    QVERIFY(spy.at(0).at(1).value<QItemSelection>().isEmpty());

    view.selectionModel()->select(model.index(1, 0), QItemSelectionModel::ClearAndSelect);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<QItemSelection>().indexes(), QModelIndexList{model.index(1, 0)});
    QCOMPARE(spy.at(1).at(1).value<QItemSelection>().indexes(), QModelIndexList{model.index(0, 0)});
}

void TestMyTreeView::reportsContextMenuRequests()
{
    MyTreeView view;
    QSignalSpy spy(&view, &MyTreeView::createContextMenu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            view.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view.viewport(), &event);
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestMyTreeView)
#include "test_my_tree_view.moc"
