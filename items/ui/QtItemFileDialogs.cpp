#include "items/ui/QtItemFileDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace plu {
namespace {

std::optional<std::string> Choose(QWidget* parent, bool save)
{
    QFileDialog dialog(parent, save ? QObject::tr("Save as") : QObject::tr("Open"), QDir::currentPath(),
                       QStringLiteral("PLU files(*.PLU)"));
    dialog.setDefaultSuffix(QStringLiteral("PLU"));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile); // the directory must exist; overwriting is confirmed
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

} // namespace

std::optional<std::string> QtItemFileDialogs::ChooseOpenPath() { return Choose(m_parent, false); }
std::optional<std::string> QtItemFileDialogs::ChooseSavePath() { return Choose(m_parent, true); }

} // namespace plu
