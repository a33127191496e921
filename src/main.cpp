// Start-up: translation, the application object, the settings, the logon window with its
// starter, then the event loop until the logon window closes.
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Gettext.h"
#include "platform/Language.h"
#include "platform/PrivateFolder.h"
#include "platform/Translation.h"
#include "platform/ui/QtCatalogTranslator.h"
#include "platform/ui/QtDialogs.h"
#include "settings/Settings.h"
#include "shell/ApplicationOwner.h"
#include "shell/ui/QuorvelApplication.h"
#include "shell/ui/TFmLogon.h"
#include "shell/ui/TZQStarterLocal.h"

#include <QLocale>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    QuorvelApplication app(argc, argv);
    // The run ends when the logon window closes, never because the last visible window did
    // (the logon window is hidden while the main window, a drill or the game is in use).
    QApplication::setQuitOnLastWindowClosed(false);

    // Translation: both catalogues below the program folder, through private copies that gettext
    // opens in their place (in a folder of the run's own, which also clears away what runs ended by
    // a signal left); the language from the first argument, else the environment, else the system.
    // A catalogue that cannot be read leaves the program in English, with a message.
    QString language = Language::choose(QCoreApplication::arguments(), &Language::environmentValue,
                                        QLocale::system().name());
    const PrivateFolder catalogueCopies;
    QString catalogueRefused;
    try {
        Gettext::bindPrivateCopies(QCoreApplication::applicationDirPath(), language, catalogueCopies.path());
    } catch (const QuorvelError& e) {
        language.clear();
        catalogueRefused = formatText(i18n("%s Quorvel runs in English."), {e.message()});
        std::fprintf(stderr, "quorvel: %s\n", qPrintable(catalogueRefused));
    }
    app.installTranslator(new QtCatalogTranslator(&app));
    Language::apply(language);

    // Only the name: a display name would be appended to every window's title, and each window
    // carries its own caption as its whole title.
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    setDialogs(std::make_unique<QtDialogs>());
    if (!catalogueRefused.isEmpty()) dialogs().warning(catalogueRefused);

    std::unique_ptr<TFmLogon> logon;
    try {
        Settings = new TSettings(&app);
        Settings->Load();
        logon = std::make_unique<TFmLogon>();
        FmLogon = logon.get();
        QFont font = logon->font();
        font.setFamily(Settings->FontName);
        logon->setFont(font);
        logon->setStarter(new TZQStarterLocal(logon.get()));
    } catch (const QuorvelError& e) {
        std::fprintf(stderr, "quorvel: %s\n", e.what());
        QuorvelApplication::reportError(e.message());
        return 1;
    }

    logon->show();
    logon->activateWindow();
    const int result = QApplication::exec();

    // What the application owns goes first, then the logon window with its starter.
    applicationOwner().freeAll();
    FmLogon = nullptr;
    logon.reset();
    return result;
}
