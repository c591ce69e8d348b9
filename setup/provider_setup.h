// Provider setup without the screen: the provider's base record held under its record lock while
// the dialog is open, the dialog's edit buffer, its block list operations, and the save of OK.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/rscuse_record.h"
#include "setup/block_settings.h"

// The provider dialog's edit buffer.
struct ProviderSetupBuffer {
    char id[4] = {};
    int32_t hours[7][6] = {};  // per weekday start0, end0, start1, end1, start2, end2; -1 = none
    uint32_t colour = 0;
    TimeBlockEdit blocks[kTimeBlocks];
    char aliases[kProviderAliases][4] = {};
    int aliasCount = 0;
    uint32_t goals[7] = {};
};

// Whether a weekday's hours start (its box is ticked), and clearing them (its box unticked).
bool WorksWeekday(const ProviderSetupBuffer& buffer, int weekday);
void ClearWeekday(ProviderSetupBuffer& buffer, int weekday);

// The block list: the positions of the named blocks in order, whether "&Add" may add one (fewer
// than six names), and the slot "&Add" fills (the first without a name; -1 for none).
std::vector<int> NamedBlocks(const ProviderSetupBuffer& buffer);
bool CanAddBlock(const ProviderSetupBuffer& buffer);
int FreeBlockSlot(const ProviderSetupBuffer& buffer);
// "&Delete" after OK to its question: the block's times, name, colour, type and operatory go,
// and it is marked deleted so that OK also takes it out of the week overrides.
void DeleteBlock(ProviderSetupBuffer& buffer, int position);
// The block dialog's data for a block, and what its OK gives back into the buffer.
BlockSettings BlockSettingsOf(const ProviderSetupBuffer& buffer, int position);
void StoreBlockSettings(ProviderSetupBuffer& buffer, const BlockSettings& settings);

// The caption "Provider Setup [DR1 ]".
std::string ProviderSetupCaption(const char id[4]);

// The provider's base record from opening to OK or Cancel, locked all along on a session of its
// own. Nothing is written before Save; dropping the hold (Cancel) releases the lock.
class ProviderRecordHold {
public:
    enum class Opened { kOpened, kRefused, kFailed };
    ProviderRecordHold();
    ~ProviderRecordHold();
    ProviderRecordHold(const ProviderRecordHold&) = delete;
    ProviderRecordHold& operator=(const ProviderRecordHold&) = delete;

    // kRefused (nothing said) for an identifier that is empty, starts with a blank or is not a
    // loaded provider; kFailed when the lock was not had (the user cancelled the wait) or the
    // read failed (reported). Otherwise the buffer is filled from the record, or from the loaded
    // provider table when the provider has no base record yet.
    Opened Open(const char id[4], ProviderSetupBuffer* buffer);

    // OK: the deleted blocks leave every week override of the provider, the record is added or
    // rewritten and the loaded provider table takes the same values, all in one transaction
    // with every lock taken first. The locks are released in any case. False when nothing was
    // written (the failure told to the user).
    bool Save(const ProviderSetupBuffer& buffer);

    // Drops the lock without writing (Cancel).
    void Release();

    bool Exists() const { return exists_; }

private:
    struct Held;
    std::unique_ptr<Held> held_;
    RscUseProviderBase asRead_{};
    bool exists_ = false;
};

// Tells the other workstations that time blocks changed today ("XXXX" for provider and
// operatory), as the chooser's "Close" does.
void AnnounceBlockChange();
