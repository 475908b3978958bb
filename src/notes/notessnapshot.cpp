#include "notessnapshot.h"

#include "inistore/inibase.h"
#include "inistore/inivarlinker.h"
#include "noteslayout.h"

namespace {

// A store on lines already loaded: nothing to lock, nothing is ever saved.
class LinesStore : public IniBase
{
public:
    explicit LinesStore(const LineBuffer &lines) : m_lines(lines) { setDefaultSection("Notes"); }

    bool lockFile() override { return true; }
    void unlockFile() override {}
    bool loadLines(LineBuffer &lines) override
    {
        lines = m_lines;
        return true;
    }
    bool saveLines(const LineSource &) override { return false; }

private:
    const LineBuffer &m_lines;
};

} // namespace

void NotesSnapshot::read(const LineBuffer &lines, NotesSettings &settings, QList<StoredPage> &pages)
{
    LinesStore store(lines);
    IniVarLinker linker;
    linker.setOnIniReadWrite([&](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
        NotesLayout(sender, settings).read(pages);
    });
    linker.setIniMain(&store);
    store.read();
}
