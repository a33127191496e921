#include "shell/ui/TZQStarterLocal.h"

#include "platform/KeyboardLayoutProvider.h"
#include "settings/DataMod.h"
#include "settings/FontSpec.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ApplicationOwner.h"
#include "shell/ProfileStorage.h"
#include "shell/ui/TFmLogon.h"
#include "shell/ui/TZQMainFm.h"

#include <QDialog>
#include <memory>

TZQStarterLocal::TZQStarterLocal(QObject* AOwner, std::unique_ptr<KeyboardLayoutProvider> provider)
    : TZQStarterBase(AOwner, std::move(provider)) {}

QString TZQStarterLocal::storagePath() const {
    return Settings->AppDir + QStringLiteral("zqc.ini");
}

void TZQStarterLocal::LoadProfileSection(TProfile* Sender, const QString& Name) {
    ProfileStorage::load(storagePath(), *Sender, Name);
}

void TZQStarterLocal::SaveProfileSection(TProfile* Sender, const QString& Name) {
    ProfileStorage::save(storagePath(), *Sender, Name);
}

void TZQStarterLocal::OpenMainForm(TProfile* AProfile) {
    // Held here until it is shown: a failure on the way frees it unseen.
    auto mainForm = std::make_unique<TZQMainFm>();
    mainForm->SetKeyboardAgent(KeyboardAgent());
    if (!DataMod) DataMod = applicationOwner().adopt(new TDataMod());
    AProfile->Load();
    mainForm->SetProfile(AProfile);
    QFont font = mainForm->font();
    font.setFamily(Settings->FontName);
    mainForm->setFont(font);
    mainForm->show();
    TZQMainFm* shown = applicationOwner().adopt(mainForm.release());
    if (FmLogon) FmLogon->hide();
    shown->activateWindow();
}

int TZQStarterLocal::EditNewProfile(TProfile* AProfile) {
    bindStorage(AProfile);
    return QDialog::Rejected;
}
