#include "serial/FiscalizationFrame.h"

#include "serial/SerialLink.h"

namespace qm47 {

std::string FiscalizationFrame(std::string_view nip)
{
    constexpr char kEsc = '\x1B';
    constexpr char kEndOfNip = '\xFF';

    std::string body = "1$fNIP ";
    body += nip;
    body += kEndOfNip;

    std::string frame;
    frame += kEsc;
    frame += 'P';
    frame += body;
    frame += CSerialLink::CheckSum(body);
    frame += kEsc;
    frame += '\\';
    return frame;
}

} // namespace qm47
