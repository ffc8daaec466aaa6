#pragma once
// The Open and Save as dialogs of the item files.
#include "items/ItemFileCommands.h"

class QWidget;

namespace plu {

class QtItemFileDialogs : public ItemFileDialogs {
public:
    explicit QtItemFileDialogs(QWidget* parent) : m_parent(parent) {}
    std::optional<std::string> ChooseOpenPath() override;
    std::optional<std::string> ChooseSavePath() override;

private:
    QWidget* m_parent;
};

} // namespace plu
