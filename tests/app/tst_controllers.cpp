#include "common/EditorTestSupport.h"

#include "app/KComposite.h"
#include "app/KController.h"
#include "app/MModel.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QtTest>

namespace {

// A controller of a chosen type that logs its initialisation and the hints it
// receives into a shared log.
class LogController : public KController
{
public:
    LogController(int type, const QString &name, QStringList *log)
        : m_type(type), m_name(name), m_pLog(log)
    {
    }

    void initialize() override
    {
        // Adoption sets the parent before initialize() runs.
        m_pLog->append(m_name + QStringLiteral(":init:") +
                       (parentController() ? QStringLiteral("parent") : QStringLiteral("none")));
    }
    void update(int hint) override
    {
        m_pLog->append(m_name + QLatin1Char(':') + QString::number(hint, 16));
    }
    int type() const override { return m_type; }
    QString name() const { return m_name; }

private:
    int m_type;
    QString m_name;
    QStringList *m_pLog;
};

class NestedComposite : public KComposite
{
public:
    int type() const override { return 0x1006; }
};

// Owns one checkable action under code 0x3011.
class ActionOwner : public KController
{
public:
    ActionOwner() : m_action(this) { m_action.setCheckable(true); }
    QAction *action(int id) const override
    {
        return id == 0x3011 ? const_cast<QAction *>(&m_action) : nullptr;
    }
    QAction m_action;
};

QString nameOf(KController *controller)
{
    auto *logged = dynamic_cast<LogController *>(controller);
    return logged ? logged->name() : QStringLiteral("<none>");
}

} // namespace

class TestControllers : public QObject
{
    Q_OBJECT

private slots:
    void adoptionInitializes();
    void findDepthFirst_data();
    void findDepthFirst();
    void removeByTypeDeletesFirstOnly();
    void removeByIdentityKeepsController();
    void leafRemovesItself();
    void broadcastInOrderAdded();
    void destroyedControllerLeavesRoot();
    void compositeDeletesChildren();
    void modelForwarded();
    void actionStates();

private:
    QStringList m_log;
};

void TestControllers::adoptionInitializes()
{
    m_log.clear();
    KComposite root;
    auto *child = new LogController(0x1002, QStringLiteral("a"), &m_log);
    root.addController(child);
    QCOMPARE(m_log, QStringList{QStringLiteral("a:init:parent")});
    QCOMPARE(child->parentController(), static_cast<KController *>(&root));
    QCOMPARE(root.children().count(), 1);
    root.addController(nullptr);
    QCOMPARE(root.children().count(), 1);
}

void TestControllers::findDepthFirst_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");

    // Tree: a(1002), nested(1006)[b(1003), c(1005)], d(1003), e(1005)
    QTest::newRow("first in list order") << 0x1002 << "a";
    QTest::newRow("nested before later sibling") << 0x1003 << "b";
    QTest::newRow("nested 1005 before later 1005") << 0x1005 << "c";
    QTest::newRow("composite itself") << 0x1006 << "nested";
    QTest::newRow("root type") << 0x1000 << "<root>";
    QTest::newRow("no controller has it") << 0x1004 << "<null>";
}

void TestControllers::findDepthFirst()
{
    QFETCH(int, type);
    QFETCH(QString, expected);

    m_log.clear();
    KComposite root;
    root.addController(new LogController(0x1002, QStringLiteral("a"), &m_log));
    auto *nested = new NestedComposite;
    root.addController(nested);
    nested->addController(new LogController(0x1003, QStringLiteral("b"), &m_log));
    nested->addController(new LogController(0x1005, QStringLiteral("c"), &m_log));
    root.addController(new LogController(0x1003, QStringLiteral("d"), &m_log));
    root.addController(new LogController(0x1005, QStringLiteral("e"), &m_log));

    KController *found = root.findController(type);
    QString got;
    if (!found)
        got = QStringLiteral("<null>");
    else if (found == &root)
        got = QStringLiteral("<root>");
    else if (found == nested)
        got = QStringLiteral("nested");
    else
        got = nameOf(found);
    QCOMPARE(got, expected);
}

void TestControllers::removeByTypeDeletesFirstOnly()
{
    m_log.clear();
    KComposite root;
    QPointer<KController> first = new LogController(0x1003, QStringLiteral("first"), &m_log);
    QPointer<KController> other = new LogController(0x1002, QStringLiteral("other"), &m_log);
    QPointer<KController> second = new LogController(0x1003, QStringLiteral("second"), &m_log);
    root.addController(first);
    root.addController(other);
    root.addController(second);

    QVERIFY(root.removeController(0x1003));
    QVERIFY2(first.isNull(), "the first matching controller was not deleted");
    QVERIFY2(!second.isNull(), "a second matching controller was deleted too");
    QCOMPARE(root.children().count(), 2);
    QCOMPARE(nameOf(root.findController(0x1003)), QStringLiteral("second"));

    QVERIFY(!root.removeController(0x1005));
    QCOMPARE(root.children().count(), 2);

    // Inside a nested composite the match leaves the nested list.
    auto *nested = new NestedComposite;
    root.addController(nested);
    QPointer<KController> inner = new LogController(0x1005, QStringLiteral("inner"), &m_log);
    nested->addController(inner);
    QVERIFY(root.removeController(0x1005));
    QVERIFY(inner.isNull());
    QCOMPARE(nested->children().count(), 0);
    QCOMPARE(root.children().count(), 3);
}

void TestControllers::removeByIdentityKeepsController()
{
    m_log.clear();
    KComposite root;
    auto *child = new LogController(0x1002, QStringLiteral("a"), &m_log);
    root.addController(child);
    QVERIFY(root.removeController(child));
    QCOMPARE(root.children().count(), 0);
    QVERIFY(!root.removeController(child));
    // Still alive and usable; the test owns it now.
    QCOMPARE(child->type(), 0x1002);
    delete child;
}

void TestControllers::leafRemovesItself()
{
    m_log.clear();
    QPointer<KController> leaf = new LogController(0x1002, QStringLiteral("a"), &m_log);
    LogController other(0x1002, QStringLiteral("b"), &m_log);
    QVERIFY(!leaf->removeController(&other));
    QVERIFY(!leaf->removeController(0x1003));
    QVERIFY(!leaf.isNull());
    QVERIFY(leaf->removeController(0x1002));
    QVERIFY(leaf.isNull());

    leaf = new LogController(0x1002, QStringLiteral("c"), &m_log);
    QVERIFY(leaf->removeController(leaf.data()));
    QVERIFY(leaf.isNull());
}

void TestControllers::broadcastInOrderAdded()
{
    m_log.clear();
    KComposite root;
    root.addController(new LogController(0x1003, QStringLiteral("canvas"), &m_log));
    auto *nested = new NestedComposite;
    root.addController(nested);
    nested->addController(new LogController(0x1002, QStringLiteral("tree"), &m_log));
    root.addController(new LogController(0x1004, QStringLiteral("main"), &m_log));
    m_log.clear();

    root.update(0x2800);
    root.update(0x2900);
    QCOMPARE(m_log.join(QLatin1Char(' ')),
             QStringLiteral("canvas:2800 tree:2800 main:2800 canvas:2900 tree:2900 main:2900"));
}

void TestControllers::destroyedControllerLeavesRoot()
{
    m_log.clear();
    MModel model;
    auto *first = new LogController(0x1003, QStringLiteral("first"), &m_log);
    auto *second = new LogController(0x1002, QStringLiteral("second"), &m_log);
    first->setModel(&model);
    second->setModel(&model);
    model.addController(first);
    model.addController(second);
    QCOMPARE(model.controllers()->children().count(), 2);

    delete first;
    QCOMPARE(model.controllers()->children().count(), 1);
    QVERIFY(!model.controllers()->findController(0x1003));
    m_log.clear();
    // A broadcast after the deletion reaches only the living controller.
    model.broadcast(0x2000);
    QCOMPARE(m_log, QStringList{QStringLiteral("second:2000")});

    // A controller inside a nested composite leaves that composite too.
    auto *nested = new NestedComposite;
    nested->setModel(&model);
    model.addController(nested);
    auto *inner = new LogController(0x1005, QStringLiteral("inner"), &m_log);
    inner->setModel(&model);
    nested->addController(inner);
    delete inner;
    QCOMPARE(nested->children().count(), 0);
}

void TestControllers::compositeDeletesChildren()
{
    m_log.clear();
    auto *root = new KComposite;
    auto *nested = new NestedComposite;
    QPointer<KController> leaf = new LogController(0x1002, QStringLiteral("a"), &m_log);
    QPointer<KController> deep = new LogController(0x1003, QStringLiteral("b"), &m_log);
    root->addController(leaf);
    root->addController(nested);
    nested->addController(deep);
    delete root;
    QVERIFY(leaf.isNull());
    QVERIFY(deep.isNull());
}

void TestControllers::modelForwarded()
{
    m_log.clear();
    MModel model;
    KComposite composite;
    auto *nested = new NestedComposite;
    auto *leaf = new LogController(0x1002, QStringLiteral("a"), &m_log);
    composite.addController(nested);
    nested->addController(leaf);
    composite.setModel(&model);
    QCOMPARE(composite.model(), &model);
    QCOMPARE(nested->model(), &model);
    QCOMPARE(leaf->model(), &model);
    composite.setModel(nullptr);
    QVERIFY(!leaf->model());
}

void TestControllers::actionStates()
{
    ActionOwner owner;
    owner.setActionChecked(0x3011, true);
    QVERIFY(owner.m_action.isChecked());
    owner.setActionEnabled(0x3011, false);
    QVERIFY(!owner.m_action.isEnabled());
    // Unknown codes and controllers without actions are ignored.
    owner.setActionEnabled(0x3012, true);
    QVERIFY(!owner.m_action.isEnabled());
    KController plain;
    plain.setActionChecked(0x3011, true);
    QVERIFY(!plain.action(0x3011));
    QCOMPARE(plain.type(), 0x1000);
    QCOMPARE(plain.controller(), &plain);
    QVERIFY(!plain.view());
}

ZRB_TEST_MAIN(TestControllers)
#include "tst_controllers.moc"
