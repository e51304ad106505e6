#include "app/subwindows.h"

#include "rtl/errors.h"
#include "ui/form.h"

namespace app {

namespace {

struct Group {
    const char* name;
    QStringList forms;
};

// The open-window names and the forms each one frees, in creation order.
const std::vector<Group>& groups() {
    static const std::vector<Group> table = {
        {"AboutBox", {"DlgAboutBox"}},
        {"ClossRep", {"frmClossRep", "frmQR_Closs"}},
        {"Company", {"frmCompany"}},
        {"Emp_mas", {"frmEmp_mas"}},
        {"Emp_Tanka", {"frmEmp_Tanka"}},
        {"GensenInp", {"frmGensenInp", "frmEmp_Tanka", "frmQR_Gensen"}},
        {"GensenInp2", {"frmGensenInp", "frmEmp_Tanka", "frmQR_Gensen"}},
        {"Job_kbn", {"frmJob_kbn"}},
        {"MainRep", {"frmMainRep"}},
        {"TimeInpRep", {"frmTimeInpRep"}},
        {"MKyuyoRep", {"frmMKyuyoRep"}},
        {"NenCopy", {"DlgNenCopy"}},
        {"SysSet", {"frmSysSet"}},
        {"Sys_mas", {"frmSys_mas"}},
        {"TimeInp", {"frmTimeInp"}},
        {"Title_mas", {"frmTitle_mas"}},
        {"Total", {"frmTotal", "DlgCalcTime", "DlgCalcCount"}},
        {"TotalB", {"frmTotalB", "DlgCalcTime", "DlgCalcCount"}},
        {"DB_Pack", {"frmDB_Pack"}},
        {"Emp_Prt", {"frmEmp_Prt"}},
        {"QR_HokenRep", {"frmQR_HokenRep"}},
        {"QR_HokenRep2", {"frmQR_HokenRep2"}},
        {"QR_HokenRepS", {"frmQR_HokenRepS"}},
        {"QR_HokenRepS2", {"frmQR_HokenRepS2"}},
        {"QR_kinmu", {"frmQR_Kinmu"}},
        {"QR_Kyuyo", {"frmQR_Kyuyo"}},
        {"QR_Kyuyo1170", {"frmQR_Kyuyo1170"}},
        {"QR_KyuyoS", {"frmQR_KyuyoS"}},
        {"QR_KyuyoS1170", {"frmQR_KyuyoS1170"}},
        {"QR_KyuyoRep", {"frmQR_KyuyoRep"}},
        {"QR_KyuyoRep2", {"frmQR_KyuyoRep2"}},
        {"QR_KyuyoRepN", {"frmQR_KyuyoRepN"}},
        {"QR_KyuyoRepS", {"frmQR_KyuyoRepS"}},
        {"QR_KyuyoRepS2", {"frmQR_KyuyoRepS2"}},
        {"QR_Minus", {"frmQR_Minus"}},
    };
    return table;
}

void freeObject(QObject* object) {
    if (auto* form = qobject_cast<ui::Form*>(object)) form->free();
    else delete object;
}

void showWindow(QObject* object) { ui::showModeless(qobject_cast<QWidget*>(object)); }

}  // namespace

QStringList SubWindows::formsOf(const QString& windowName) {
    for (const Group& g : groups())
        if (windowName == QLatin1String(g.name)) return g.forms;
    return {};
}

QStringList SubWindows::windowNames() {
    QStringList names;
    for (const Group& g : groups()) names << QString::fromLatin1(g.name);
    return names;
}

void SubWindows::registerForm(const QString& formName, FormFactory create) {
    factories_[formName] = Entry{std::move(create), showWindow};
}

void SubWindows::registerReport(const QString& formName, FormFactory create, FormPresenter preview) {
    factories_[formName] = Entry{std::move(create), std::move(preview)};
}

void SubWindows::unregister(const QString& formName) { factories_.erase(formName); }

bool SubWindows::isRegistered(const QString& formName) const {
    auto it = factories_.find(formName);
    return it != factories_.end() && it->second.create;
}

bool SubWindows::isConnected(const QString& windowName) const {
    const QStringList forms = formsOf(windowName);
    return !forms.isEmpty() && isRegistered(forms.first());
}

QObject* SubWindows::reference(const QString& formName) const {
    auto it = references_.find(formName);
    return it == references_.end() ? nullptr : it->second.data();
}

namespace {
// Closes a form that is on the screen; false when it stays open.
bool closeIfShown(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isVisible()) return true;
    widget->close();
    return !widget->isVisible();
}
}  // namespace

bool SubWindows::closeAll() {
    bool allClosed = true;
    for (auto& [name, ref] : references_)
        if (ref && !closeIfShown(ref.data())) allClosed = false;
    return allClosed;
}

void SubWindows::freeGroup(const QString& windowName) {
    const QStringList forms = formsOf(windowName);
    for (const QString& form : forms) {
        auto it = references_.find(form);
        if (it != references_.end() && it->second && !closeIfShown(it->second.data()))
            rtl::abortSilently();  // the user keeps the window and its change
    }
    for (const QString& form : forms) {
        auto it = references_.find(form);
        if (it == references_.end() || !it->second) continue;
        QObject* object = it->second.data();
        it->second.clear();
        freeObject(object);
    }
}

bool SubWindows::createAndPresent(const QString& windowName, QWidget* owner) {
    const QStringList forms = formsOf(windowName);
    if (forms.isEmpty() || !isRegistered(forms.first())) return false;
    QObject* first = nullptr;
    for (const QString& form : forms) {
        auto it = factories_.find(form);
        if (it == factories_.end() || !it->second.create) continue;
        QObject* object = it->second.create(owner);
        if (!object) continue;
        if (object->objectName().isEmpty()) object->setObjectName(form);
        references_[form] = object;
        if (!first) first = object;
    }
    if (first) factories_[forms.first()].present(first);
    return true;
}

void SubWindows::freeAll() {
    for (auto& [name, ref] : references_) {
        if (!ref) continue;
        QObject* object = ref.data();
        ref.clear();
        freeObject(object);
    }
}

SubWindows& subWindows() {
    static SubWindows instance;
    return instance;
}

}  // namespace app
