#include "app/lcaboutdlg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// The name is the program's own and is never translated.
const QString kProgramName = QStringLiteral("Mirel");
const QString kVersion = QStringLiteral("3.01");
const QString kMaker = QStringLiteral("the Mirel team");
const QString kLogo = QStringLiteral(":/img/loops.png");
constexpr int kLogoSidePixel = 32;
constexpr int kOkButtonWidth = 80;
// between header, text, line and footer: tight, so the whole text fits the box
constexpr int kSpacingPixel = 4;
constexpr int kDialogWidth = 508;
constexpr int kDialogHeight = 262;
} // namespace

LCAboutDlg::LCAboutDlg(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setWindowTitle(tr("About ") + kProgramName);

    auto *const logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logoLabel"));
    logo->setPixmap(QPixmap(kLogo).scaled(
        kLogoSidePixel, kLogoSidePixel, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    auto *const name = new QLabel(kProgramName, this);
    name->setObjectName(QStringLiteral("nameLabel"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    name->setFont(nameFont);
    auto *const version = new QLabel(tr("Ver ") + kVersion, this);
    version->setObjectName(QStringLiteral("versionLabel"));
    auto *const title = new QVBoxLayout;
    title->setSpacing(0);
    title->addWidget(name);
    title->addWidget(version);
    auto *const header = new QHBoxLayout;
    header->addWidget(logo);
    header->addLayout(title);
    header->addStretch();

    auto *const disclaimer = new QLabel(kProgramName
            + tr(" is a great tool to help verify projects before installation, but no "
                 "replacement for your engineering expertise. It is ")
            + kMaker
            + tr("'s intention to keep the product and its details current and accurate. We "
                 "cannot cover all specific applications or anticipate all electrical "
                 "requirements of every site, and assume no liability for calculations for "
                 "special applications beyond its scope."),
        this);
    disclaimer->setObjectName(QStringLiteral("disclaimerLabel"));
    disclaimer->setWordWrap(true);

    auto *const line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *const notice = new QLabel(
        tr("(c) the Mirel team. All rights reserved.\nProvided as is, without any warranty."),
        this);
    notice->setObjectName(QStringLiteral("noticeLabel"));
    m_okButton = new QPushButton(tr("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setFixedWidth(kOkButtonWidth);
    m_okButton->setDefault(true);
    auto *const footer = new QHBoxLayout;
    footer->addWidget(notice);
    footer->addStretch();
    footer->addWidget(m_okButton);

    auto *const layout = new QVBoxLayout(this);
    layout->setSpacing(kSpacingPixel);
    layout->addLayout(header);
    layout->addWidget(disclaimer);
    layout->addWidget(line);
    layout->addLayout(footer);

    connect(m_okButton, &QPushButton::clicked, this, &LCAboutDlg::slotOk);
    // taller only where the font needs it to show the whole text
    setFixedSize(kDialogWidth, qMax(kDialogHeight, heightForWidth(kDialogWidth)));
}

void LCAboutDlg::slotOk()
{
    accept();
}
