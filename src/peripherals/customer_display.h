#pragma once

#include "config/settings.h"
#include "peripherals/serial_port.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pos {

// What the amount on the display stands for.
enum DisplayKind : int { DisplayTotal = 1, DisplayPaid = 2, DisplayChange = 3 };

// The customer display's serial line, held by the register from start-up to exit. Like
// a display library it reports nothing: a port that cannot be opened or written simply
// leaves the display unchanged.
class DisplayPort {
public:
    void init(const std::string& path, int speed) noexcept;  // releases any open line first
    void send(std::string_view bytes) noexcept;               // nothing when not open
    void release() noexcept;                                  // harmless when not open
    bool isOpen() const { return line_.isOpen(); }

private:
    SerialPort line_;
};

// "COM1".."COM4" give 1..4; any other value 1.
int comPortNumber(const std::string& portName);
std::string comPortName(int number);

// Line speed of a DispType; nullopt for a model the terminal does not know.
std::optional<int> displaySpeed(const std::string& dispType);

// The writes of one amount, in order, each one send on the line; none for an unknown model.
std::vector<std::string> CustomerDisplayWrites(const std::string& dispType, int kind, double amount);

// With ClientDisplay "有": releases the line and opens it on DispPort at the model's speed
// (only released for an unknown model). Otherwise nothing.
void InitCustomerDisplay(const Settings& settings, DisplayPort& port);

// Sends the amount with its kind in the protocol of the current DispType, on the line opened
// by the last InitCustomerDisplay. The callers test ClientDisplay first.
void ShowOnCustomerDisplay(const Settings& settings, DisplayPort& port, int kind, double amount);

}  // namespace pos
