#pragma once
// IMessageBox shown with QMessageBox, modal to the given parent window.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/MessageBox.h"

class CQtMessageBox final : public IMessageBox {
public:
    explicit CQtMessageBox(QString caption, QWidget* parent = nullptr)
        : caption_(std::move(caption)), parent_(parent)
    {
    }

    void setParent(QWidget* parent) { parent_ = parent; }

    void tell(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text, MessageIcon icon) override;

private:
    QString caption_;
    QPointer<QWidget> parent_;
};
