#include <QMetaProperty>
#include <QTest>

#include "UiTestSupport.h"
#include "controls/qt/MLabel.h"
#include "controls/qt/MPanel.h"
#include "controls/qt/McxButton.h"
#include "controls/qt/McxCheckBox.h"
#include "controls/qt/McxMemo.h"
#include "controls/qt/McxTextEdit.h"

namespace {

// The family's own properties of a class, in declaration order.
QStringList OwnProperties(const QMetaObject& meta) {
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        names << QString::fromLatin1(meta.property(i).name());
    }
    return names;
}

// Every own property holds 0, empty text, false or no reference.
void VerifyEmptyMetadata(const QObject& object) {
    const QMetaObject& meta = *object.metaObject();
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QVariant value = property.read(&object);
        const QString where = QString::fromLatin1(meta.className()) + "." + property.name();
        switch (value.metaType().id()) {
            case QMetaType::Int:
                QVERIFY2(value.toInt() == 0, qPrintable(where));
                break;
            case QMetaType::Bool:
                QVERIFY2(!value.toBool(), qPrintable(where));
                break;
            case QMetaType::QString:
                QVERIFY2(value.toString().isEmpty(), qPrintable(where));
                break;
            default:
                QVERIFY2(value.value<QObject*>() == nullptr, qPrintable(where));
        }
    }
}

const QStringList kTextEditProperties = {
    "MOid",   "MOnm",     "MFld",   "MDefaultValue", "MDefaultValueKnd", "MReadonlyLevel", "MPanel",
    "MLabel", "MNotNull", "MEqual", "MSave",         "MLikeLeft",        "MLikeRight"};

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void propertiesInDeclarationOrder() {
        QCOMPARE(OwnProperties(TMPanel::staticMetaObject), QStringList{});
        QCOMPARE(OwnProperties(TMLabel::staticMetaObject),
                 (QStringList{"MOid", "MOnm", "MFld", "MPanel"}));
        QCOMPARE(OwnProperties(TMcxButton::staticMetaObject),
                 (QStringList{"MFld", "MValStr", "MValInt"}));
        QCOMPARE(OwnProperties(TMcxTextEdit::staticMetaObject), kTextEditProperties);
        QCOMPARE(OwnProperties(TMcxCheckBox::staticMetaObject),
                 (QStringList{"MOid", "MOnm", "MFld", "MDefaultValue", "MDefaultValueKnd",
                              "MReadonlyLevel", "MPanel", "MLabel", "MNotNull", "MSave"}));
    }

    void newControlsHoldEmptyMetadataAndActAsTheirBase() {
        TMPanel panel;
        TMLabel label;
        TMcxButton button;
        TMcxTextEdit edit;
        TMcxCheckBox check;
        TMcxMemo memo;
        for (const QObject* object :
             std::initializer_list<const QObject*>{&panel, &label, &button, &edit, &check, &memo}) {
            VerifyEmptyMetadata(*object);
        }
        edit.setText("abc");
        QCOMPARE(edit.text(), QStringLiteral("abc"));
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
        button.click();
        QCOMPARE(clicks, 1);
    }

    void metadataIsReadAndWrittenByNameWithoutEffect() {
        TMcxTextEdit edit;
        TMPanel panel;
        TMcxCheckBox check;
        edit.setText("text");
        QVERIFY(edit.setProperty("MOid", 7));
        QVERIFY(edit.setProperty("MOnm", "name"));
        QVERIFY(edit.setProperty("MPanel", QVariant::fromValue(&panel)));
        QVERIFY(edit.setProperty("MLikeLeft", QVariant::fromValue(&check)));
        QVERIFY(edit.setProperty("MSave", true));
        QCOMPARE(edit.property("MOid").toInt(), 7);
        QCOMPARE(edit.property("MOnm").toString(), QStringLiteral("name"));
        QCOMPARE(edit.property("MPanel").value<TMPanel*>(), &panel);
        QCOMPARE(edit.property("MLikeLeft").value<TMcxCheckBox*>(), &check);
        QCOMPARE(edit.text(), QStringLiteral("text"));
        QVERIFY(!edit.isReadOnly());
    }

    void windowControlsHoldTheLayoutValues() {
        WindowFixture fixture;
        const QList<QObject*> family = [&] {
            QList<QObject*> all;
            for (QObject* child : fixture.window().findChildren<QObject*>()) {
                if (qobject_cast<TMPanel*>(child) || qobject_cast<TMLabel*>(child) ||
                    qobject_cast<TMcxButton*>(child) || qobject_cast<TMcxTextEdit*>(child) ||
                    qobject_cast<TMcxCheckBox*>(child)) {
                    all << child;
                }
            }
            return all;
        }();
        QStringList names;
        for (QObject* object : family) {
            names << object->objectName();
            VerifyEmptyMetadata(*object);
        }
        names.sort();
        QCOMPARE(names,
                 (QStringList{"MLabel1", "MLabel2", "MPanel1", "btnClose", "btnCopy", "btnDel",
                              "btnOK", "btnSave", "btnZelk", "btnZelkAndCopy", "cbKu", "chr1",
                              "chr2", "edt1", "edt2", "pnlEdit", "pnlMenu"}));
    }
};

ZELK_TEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
