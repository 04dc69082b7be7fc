#include "driftbottle/SensitiveWordNotice.h"

#include "platform/Alerts.h"

#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

bool SensitiveWordNotice::isRefusal(const QString& description)
{
    return description.contains(u"敏感词"_s);
}

QMessageBox* SensitiveWordNotice::open(QWidget* parent)
{
    auto* box = new QMessageBox(parent);
    box->setObjectName(u"sensitiveWordAlert"_s);
    box->setIcon(QMessageBox::Warning);
    box->setTextFormat(Qt::PlainText);
    box->setWindowTitle(u"包含敏感词"_s);
    box->setText(u"包含敏感词"_s);
    box->setInformativeText(u"您的内容包含敏感词，请修改后再发送"_s);
    box->setEscapeButton(box->addButton(u"我知道了"_s, QMessageBox::RejectRole));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    Alerts::prepare(*box);
    box->open();
    return box;
}
