#include "app/lcprojectinfodlg.h"

#include "definitions/lcdatastore.h"
#include "grids/ui/lcprompter.h"
#include "model/lcproject.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace
{
constexpr int kOkButtonWidthPixel = 80;
constexpr int kButtonRow = 9;
// Room for an address or a customer's details without scrolling inside the field.
constexpr int kFieldMinimumWidthPixel = 260;
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
} // namespace

LCProjectInfoDlg::LCProjectInfoDlg(LCPrompter &prompter, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_prompter(prompter)
{
    setWindowTitle(tr("Project Information"));
    auto *const layout = new QGridLayout(this);
    m_name = addField(0, tr("Project Name"), QStringLiteral("projectName"));
    m_siteName = addField(1, tr("Site Name"), QStringLiteral("siteName"));
    m_siteAddress = addField(2, tr("Site Address"), QStringLiteral("siteAddress"));
    m_endUser = addField(3, tr("End-User"), QStringLiteral("endUser"));
    m_installer = addField(4, tr("Installer Name"), QStringLiteral("installer"));
    m_engineer = addField(5, tr("Engineer"), QStringLiteral("engineer"));
    m_details = addField(6, tr("Project Details"), QStringLiteral("projectDetails"));
    m_customerData = addField(7, tr("Customer Data"), QStringLiteral("customerData"));
    m_address = addField(8, tr("Address"), QStringLiteral("address"));
    m_okButton = new QPushButton(tr("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setFixedWidth(kOkButtonWidthPixel);
    m_okButton->setDefault(true);
    layout->addWidget(m_okButton, kButtonRow, 0, 1, 2, Qt::AlignHCenter);
    connect(m_okButton, &QPushButton::clicked, this, &LCProjectInfoDlg::slotOk);
}

QLineEdit *LCProjectInfoDlg::addField(int row, const QString &label, const QString &name)
{
    auto *const grid = static_cast<QGridLayout *>(layout());
    auto *const field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMinimumWidth(kFieldMinimumWidthPixel);
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

void LCProjectInfoDlg::slotOk()
{
    if (m_name->text().trimmed().isEmpty()) {
        m_prompter.information(this, tr("Information"), tr("Project Name is blank!"));
        m_name->setFocus();
        return;
    }
    auto project = std::make_unique<LCProject>();
    const auto store = [&project](PropertyId id, const QLineEdit *field) {
        project->setProperty(id, field->text().trimmed());
    };
    store(PropertyId::Name, m_name);
    store(PropertyId::SiteName, m_siteName);
    store(PropertyId::SiteAddr, m_siteAddress);
    store(PropertyId::EndUser, m_endUser);
    store(PropertyId::Installer, m_installer);
    store(PropertyId::Engineer, m_engineer);
    store(PropertyId::ProjectNote, m_details);
    store(PropertyId::CustomerData, m_customerData);
    store(PropertyId::Addr, m_address);
    project->setProperty(PropertyId::Date, QDate::currentDate().toString(kDateFormat));
    // the library owns it from here and destroys the previous project
    LCDataStore::instance()->setProject(std::move(project));
    accept();
}
