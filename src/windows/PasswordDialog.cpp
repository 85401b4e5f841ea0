#include "PasswordDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

PasswordDialog::PasswordDialog(const QString& title, const QString& text,
                               const QStringList& captions, QWidget* parent)
    : QDialog(parent), m_problem(new QLabel(this))
{
    setWindowTitle(title);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(text, this);
    message->setWordWrap(true);
    layout->addWidget(message);
    auto* form = new QFormLayout;
    for (const QString& caption : captions) {
        auto* field = new QLineEdit(this);
        field->setEchoMode(QLineEdit::Password);
        field->setObjectName(u"password"_s + QString::number(m_fields.size()));
        form->addRow(caption, field);
        m_fields << field;
    }
    layout->addLayout(form);
    m_problem->setObjectName(u"problem"_s);
    m_problem->setStyleSheet(u"color: #c00000;"_s);
    m_problem->setWordWrap(true);
    m_problem->hide();
    layout->addWidget(m_problem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(u"buttons"_s);
    buttons->button(QDialogButtonBox::Ok)->setText(u"确定"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_alternativeChosen = false;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void PasswordDialog::addAlternative(const QString& text)
{
    auto* buttons = findChild<QDialogButtonBox*>(u"buttons"_s);
    QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
    button->setObjectName(u"alternative"_s);
    connect(button, &QPushButton::clicked, this, [this] {
        m_alternativeChosen = true;
        accept();
    });
}

void PasswordDialog::setProblem(const QString& problem)
{
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    for (QLineEdit* field : std::as_const(m_fields))
        field->clear();
    if (!m_fields.isEmpty())
        m_fields.first()->setFocus();
}

QByteArray PasswordDialog::take(int field)
{
    QLineEdit* edit = m_fields.value(field);
    if (!edit)
        return {};
    QString text = edit->text();
    edit->clear();
    QByteArray bytes = text.toUtf8();
    text.fill(u'\0');
    return bytes;
}

Passwords::~Passwords()
{
    for (QByteArray& entry : entries)
        entry.fill('\0');
}

std::optional<QString> askUntilTaken(PasswordDialog& dialog, int fields,
                                     const std::function<QString(const Passwords&)>& check)
{
    while (dialog.exec() == QDialog::Accepted) {
        Passwords passwords;
        passwords.alternative = dialog.alternativeChosen();
        for (int field = 0; field < fields; ++field)
            passwords.entries << dialog.take(field);
        const QString problem = check(passwords);
        if (problem.isEmpty())
            return problem;
        dialog.setProblem(problem);
    }
    return std::nullopt;
}

} // namespace corvanta::windows
