#include "shell/ui/TZQStarterLocal.h"

#include "platform/KeyboardLayoutProvider.h"
#include "settings/DataMod.h"
#include "settings/FontValue.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ApplicationOwner.h"
#include "shell/CourseFolders.h"
#include "shell/ProfileStore.h"
#include "shell/ui/ProfileFm.h"
#include "shell/ui/TFmLogon.h"
#include "shell/ui/TZQMainFm.h"

#include <QDialog>
#include <memory>

TZQStarterLocal::TZQStarterLocal(QObject* AOwner, std::unique_ptr<KeyboardLayoutProvider> provider)
    : TZQStarterBase(AOwner, std::move(provider)) {}

TZQStarterLocal::~TZQStarterLocal() = default;

QString TZQStarterLocal::storagePath() const {
    return Settings->AppDir + QStringLiteral("zqc.ini");
}

ProfileStore& TZQStarterLocal::store() {
    if (!m_store || m_store->path() != storagePath()) m_store = std::make_unique<ProfileStore>(storagePath());
    return *m_store;
}

QStringList TZQStarterLocal::userNames() {
    return store().userNames();
}

QString TZQStarterLocal::userListProblem() {
    return store().readProblem();
}

void TZQStarterLocal::LoadProfileSection(TProfile* Sender, const QString& Name) {
    store().load(*Sender, Name);
}

void TZQStarterLocal::SaveProfileSection(TProfile* Sender, const QString& Name) {
    store().save(*Sender, Name);
}

void TZQStarterLocal::OpenMainForm(TProfile* AProfile) {
    // Held here until it is shown: a failure on the way frees it unseen.
    auto mainForm = std::make_unique<TZQMainFm>();
    mainForm->SetKeyboardAgent(KeyboardAgent());
    if (!DataMod) applicationOwner().adopt(DataMod = new TDataMod(), &DataMod);
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

int TZQStarterLocal::EditNewProfile(TProfile* AProfile, std::function<bool()> acceptStep) {
    auto editor = std::make_unique<TProfileFm>();
    editor->SetKeyboardAgent(KeyboardAgent());
    bindStorage(AProfile);
    editor->SetCourseList(courseFolderNames(Settings->AppDir));
    // This editor keeps the font of its own description.
    return editor->EditNew(AProfile, std::move(acceptStep));
}
