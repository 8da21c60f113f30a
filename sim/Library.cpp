#include "sim/Library.h"

#include "sim/ErrorCodes.h"
#include "sim/Platform.h"

namespace sim {

VirtualPrinter& ThePrinter()
{
    static VirtualPrinter printer(&LocalNow);
    return printer;
}

Call::Call(std::string_view exportName)
    : m_exportName(exportName), m_config(LoadConfig()), m_printer(ThePrinter()), m_line(exportName)
{
}

std::int32_t Call::End(std::int32_t result)
{
    m_line.Result(result);
    AppendToFile(kJournalFileName, m_line.Line() + '\n');
    const std::string printed = m_printer.TakePrintout();
    if (!printed.empty()) AppendToFile(kPrintoutFileName, printed);
    return result;
}

} // namespace sim
