#include "common/EditorTestSupport.h"

#include "app/KComposite.h"
#include "app/KController.h"
#include "app/KMainController.h"
#include "app/MModel.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QtTest>

namespace {

// A controller of a chosen type, named by its object name, that logs its
// initialisation and the hints it receives into a shared log.
class LogController : public KController
{
public:
    LogController(int type, const QString &name, QStringList *log) : m_type(type), m_pLog(log)
    {
        setObjectName(name);
    }

    // Adoption sets the parent before initialize() runs.
    void initialize() override
    {
        m_pLog->append(objectName() + (parentController() ? ":init:parent" : ":init:none"));
    }
    void update(int hint) override
    {
        m_pLog->append(objectName() + QLatin1Char(':') + QString::number(hint, 16));
    }
    int type() const override { return m_type; }

private:
    int m_type;
    QStringList *m_pLog;
};

class NestedComposite : public KComposite
{
public:
    int type() const override { return TabType; }
};

// Owns one checkable action under the Edit Mode code.
class ActionOwner : public KController
{
public:
    ActionOwner() : m_action(this) { m_action.setCheckable(true); }
    QAction *action(int id) const override
    {
        return id == KMainController::EditModeAction ? const_cast<QAction *>(&m_action) : nullptr;
    }
    QAction m_action;
};

// The tree most tests share, each controller named by its object name:
// a(tree), nested(tab)[b(canvas), c(properties)], d(canvas), e(properties).
struct Tree
{
    QStringList log;
    KComposite root;
    NestedComposite *nested = new NestedComposite;

    Tree()
    {
        root.setObjectName(QStringLiteral("root"));
        nested->setObjectName(QStringLiteral("nested"));
        root.addController(new LogController(KController::TreeType, QStringLiteral("a"), &log));
        root.addController(nested);
        nested->addController(new LogController(KController::QmlType, QStringLiteral("b"), &log));
        nested->addController(
            new LogController(KController::PropertiesType, QStringLiteral("c"), &log));
        root.addController(new LogController(KController::QmlType, QStringLiteral("d"), &log));
        root.addController(
            new LogController(KController::PropertiesType, QStringLiteral("e"), &log));
    }
};

QString nameOf(KController *controller)
{
    return controller ? controller->objectName() : QStringLiteral("<null>");
}

} // namespace

class TestControllers : public QObject
{
    Q_OBJECT

private slots:
    void adoptionInitializes();
    void findDepthFirst_data();
    void findDepthFirst();
    void broadcastAndModelReachEveryChild();
    void removal();
    void deletionLeavesNoDanglingEntry();
    void actionStates();
};

void TestControllers::adoptionInitializes()
{
    Tree tree;
    QCOMPARE(
        tree.log.join(QLatin1Char(' ')),
        QStringLiteral("a:init:parent b:init:parent c:init:parent d:init:parent e:init:parent"));
    QCOMPARE(tree.root.findController(KController::QmlType)->parentController(),
             static_cast<KController *>(tree.nested));
    tree.root.addController(nullptr);
    QCOMPARE(tree.root.children().count(), 4);
}

void TestControllers::findDepthFirst_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first in list order") << int(KController::TreeType) << "a";
    QTest::newRow("nested before later sibling") << int(KController::QmlType) << "b";
    QTest::newRow("nested before later, second type") << int(KController::PropertiesType) << "c";
    QTest::newRow("composite itself") << int(KController::TabType) << "nested";
    QTest::newRow("root type") << int(KController::BaseType) << "root";
    QTest::newRow("no controller has it") << int(KController::MainType) << "<null>";
}

void TestControllers::findDepthFirst()
{
    QFETCH(int, type);
    QFETCH(QString, expected);
    Tree tree;
    QCOMPARE(nameOf(tree.root.findController(type)), expected);
}

void TestControllers::broadcastAndModelReachEveryChild()
{
    Tree tree;
    tree.log.clear();
    tree.root.update(KController::DocumentReloaded);
    tree.root.update(KController::ShowProperties);
    QStringList expected;
    for (int hint : {KController::DocumentReloaded, KController::ShowProperties}) {
        for (const char *name : {"a", "b", "c", "d", "e"})
            expected << QLatin1String(name) + QLatin1Char(':') + QString::number(hint, 16);
    }
    QCOMPARE(tree.log, expected);

    MModel model;
    tree.root.setModel(&model);
    KController *deep = tree.root.findController(KController::PropertiesType);
    QCOMPARE(tree.nested->model(), &model);
    QCOMPARE(deep->model(), &model);
    tree.root.setModel(nullptr);
    QVERIFY(!deep->model());
}

void TestControllers::removal()
{
    Tree tree;
    // By type: the first match goes, searched depth first; inside the nested
    // composite it leaves the nested list only.
    QPointer<KController> first = tree.root.findController(KController::QmlType);
    QVERIFY(tree.root.removeController(KController::QmlType));
    QVERIFY2(first.isNull(), "the first matching controller was not deleted");
    QCOMPARE(tree.nested->children().count(), 1);
    QCOMPARE(tree.root.children().count(), 4);
    QCOMPARE(nameOf(tree.root.findController(KController::QmlType)), QStringLiteral("d"));
    QVERIFY(tree.root.removeController(KController::QmlType));
    QVERIFY(!tree.root.removeController(KController::QmlType));
    QCOMPARE(tree.root.children().count(), 3);

    // By identity: taken out, not deleted; the caller owns it now.
    QPointer<KController> taken = tree.root.findController(KController::TreeType);
    QVERIFY(tree.root.removeController(taken));
    QVERIFY(!tree.root.removeController(taken));
    QCOMPARE(tree.root.children().count(), 2);
    QVERIFY(!taken.isNull());

    // A leaf asked for itself, by type or identity, deletes itself.
    LogController other(KController::TreeType, QStringLiteral("other"), &tree.log);
    QVERIFY(!taken->removeController(&other));
    QVERIFY(!taken->removeController(KController::QmlType));
    QVERIFY(taken->removeController(KController::TreeType));
    QVERIFY(taken.isNull());
    QPointer<KController> leaf = new LogController(KController::TreeType, QString(), &tree.log);
    QVERIFY(leaf->removeController(leaf.data()));
    QVERIFY(leaf.isNull());
}

void TestControllers::deletionLeavesNoDanglingEntry()
{
    QStringList log;
    MModel model;
    auto *first = new LogController(KController::QmlType, QStringLiteral("first"), &log);
    auto *second = new LogController(KController::TreeType, QStringLiteral("second"), &log);
    auto *nested = new NestedComposite;
    auto *inner = new LogController(KController::PropertiesType, QStringLiteral("inner"), &log);
    for (KController *controller : QList<KController *>{first, second, nested, inner})
        controller->setModel(&model);
    model.addController(first);
    model.addController(second);
    model.addController(nested);
    nested->addController(inner);

    // A deleted controller leaves the model's root and the composite holding it.
    delete first;
    delete inner;
    QCOMPARE(model.controllers()->children().count(), 2);
    QVERIFY(!model.controllers()->findController(KController::QmlType));
    QVERIFY(nested->children().isEmpty());
    log.clear();
    model.broadcast(KController::SelectionChanged);
    QCOMPARE(log, QStringList{QStringLiteral("second:2000")});

    // A deleted composite takes its children, nested ones too, with it.
    QPointer<KController> leaf;
    QPointer<KController> deep;
    {
        Tree tree;
        leaf = tree.root.findController(KController::TreeType);
        deep = tree.root.findController(KController::QmlType);
    }
    QVERIFY(leaf.isNull());
    QVERIFY(deep.isNull());
}

void TestControllers::actionStates()
{
    ActionOwner owner;
    owner.setActionChecked(KMainController::EditModeAction, true);
    QVERIFY(owner.m_action.isChecked());
    owner.setActionEnabled(KMainController::EditModeAction, false);
    QVERIFY(!owner.m_action.isEnabled());
    // Other codes and controllers without actions are ignored.
    owner.setActionEnabled(KMainController::CutAction, true);
    QVERIFY(!owner.m_action.isEnabled());
    KController plain;
    plain.setActionChecked(KMainController::EditModeAction, true);
    QVERIFY(!plain.action(KMainController::EditModeAction));
}

ZRB_TEST_MAIN(TestControllers)
#include "tst_controllers.moc"
