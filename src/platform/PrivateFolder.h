#pragma once

#include <QString>

// A folder of this run's own below the temporary folder ("quorvel-XXXXXX", only its owner may
// enter it), for the private copies of files that a library opens itself: gettext's catalogues
// and the sounds. It is removed with everything in it when the object goes.
//
// A run ended by a signal never gets that far. So the folder carries a marker file that the run
// holds locked (flock) while it lives, and each new folder first removes the folders of runs that
// are over: folders of that name pattern, owned by this user, whose marker exists and is not
// locked. Nothing else in the temporary folder is ever touched.
class PrivateFolder {
public:
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // False when no folder could be made; path() is then empty.
    bool isValid() const { return !m_path.isEmpty(); }
    const QString& path() const { return m_path; }
    QString filePath(const QString& name) const;

    // Removes the folders in tempFolder that runs now over have left; gives how many.
    static int removeLeftovers(const QString& tempFolder);

    static constexpr const char* Prefix = "quorvel-";
    static constexpr const char* MarkerName = ".quorvel-run";

private:
    QString m_path;
    int m_marker = -1; // the locked marker, held open for the run
};
