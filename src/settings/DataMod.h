#pragma once

#include "platform/ClientDataSet.h"
#include "platform/ZipReader.h"

#include <QObject>
#include <array>

// The keyboard layout of the current course: the key table, the character table and the layout
// values, filled from the course's archive "layout.zqt" by LoadLayout.
class TDataMod : public QObject {
    Q_OBJECT

public:
    explicit TDataMod(QObject* parent = nullptr);

    // Key table: one record per key cap, ordered by Name.
    TClientDataSet* MainTbl;
    // Character table: one record per character, indexed on Code after every open.
    TClientDataSet* Ctbl;
    // Clone cursors on Ctbl; CtblD carries the Filtered flag.
    TClientDataSet* CtblF;
    TClientDataSet* CtblD;
    // Opens the layout archive; it is never written.
    ZipReader Kit;

    // Layout values from the archive's "readme". Colours are 0x00BBGGRR.
    int BkColor = 0;
    QByteArray Author;
    QByteArray Misc;
    // Left little, ring, middle, index, thumb, then right little, ring, middle, index, thumb.
    std::array<int, 10> FingerLength{};
    std::array<int, 10> FingerX{};
    std::array<int, 10> FingerColor{};

    // Loads "key.cds", "char.cds" and "readme" from the archive, in that order. Stops at the first
    // failure without a message and returns false; what was loaded before it stays loaded, and a
    // table whose packet is missing, invalid or lacks one of its fields is left open and empty.
    bool LoadLayout(const QString& FileName);

    // The fields of the two tables, in their order; the builder of layout archives uses them too.
    static std::vector<DataField> keyTableFields();
    static std::vector<DataField> charTableFields();
    // The names of the ten fingers in the readme, in the order of the finger arrays.
    static const std::array<const char*, 10>& fingerNames();

private:
    void DataModuleCreate();
    void CtblAfterOpen(TClientDataSet* DataSet);
};

// The one layout data module of the run; created by the starter, owned by the application.
extern TDataMod* DataMod;
