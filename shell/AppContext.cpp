#include "shell/AppContext.h"

#include "shell/SystemConfig.h"

namespace plu {

AppContext MakeAppContext(const ProgramDirs& dirs)
{
    AppContext context;
    context.Dirs = dirs;
    IniFile cfg(dirs.SystemCfg());
    context.CompanyNameText = ReadCompanyName(cfg);
    CreateWorkDirs(dirs); // its result is not used: later writers meet the failure themselves
    auto comm = ReadCommSettings(cfg);
    context.PortNumber = comm.PortNumber;
    context.BaudRateIndex = comm.BaudRateIndex;
    context.BuildVariant = 2;
    return context;
}

} // namespace plu
