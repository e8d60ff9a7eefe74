#include "UiTestSupport.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace dwuitest {

CRecordingDialog::CRecordingDialog(int templateId, QWidget* parent) : CTidemarkDialog(templateId, parent)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CRecordingDialog::accept);
    auto* edit = new QLineEdit(Body());
    auto* layout = new QHBoxLayout(Body());
    layout->addWidget(edit);
    layout->addWidget(ok);
    okButton = ok;
}

} // namespace dwuitest
