#include "items/ui/QtItemFileDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString chosen = dialog.selectedFiles().first();
        // The dialog lets a typed name point into a folder that does not exist.
        if (save && !QFileInfo(chosen).absoluteDir().exists()) {
            QMessageBox::warning(&dialog, dialog.windowTitle(),
                                 QObject::tr("The folder %1 does not exist.").arg(QFileInfo(chosen).absolutePath()));
            continue;
        }
        return QFile::encodeName(chosen).toStdString();
    }
}

} // namespace

std::optional<std::string> QtItemFileDialogs::ChooseOpenPath() { return Choose(m_parent, false); }
std::optional<std::string> QtItemFileDialogs::ChooseSavePath() { return Choose(m_parent, true); }

} // namespace plu
