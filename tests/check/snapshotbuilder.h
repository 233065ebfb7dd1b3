#pragma once

#include "checkfinding.h"
#include "checksnapshot.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// Short hands for the snapshots of the check's tests, and findings in a short form:
// "io-overlap Board000\Port000 Serial000" (driver key paths without the driver key, operating
// system entries by their key name; any other path stays whole, so a wrong path shows).

SCheckPort Port(const std::string& name, const std::string& address, const std::string& irq,
                const std::string& com);
// An individually addressed board that does not share its interrupt (RX-209).
SCheckBoard Unshared(const std::string& name, std::initializer_list<SCheckPort> ports);
// A base-addressed board (RX-404) with sharing switched on and the given vector address.
SCheckBoard Shared(const std::string& name, const std::string& vector,
                   std::initializer_list<SCheckPort> ports);

SHiveValue Text(const std::string& name, const std::string& text);
SHiveValue Dword(const std::string& name, std::uint32_t value);
// A Serial\Parameters entry with the values given (no value when not given).
SForeignEntry NtEntry(const std::string& name, std::optional<std::uint32_t> address,
                      std::optional<std::uint32_t> irq, std::optional<std::string> dosDevices);
// An Enum\Root\Ports entry: its PORTNAME and its forced configuration of address and IRQ.
SForeignEntry Win9xEntry(const std::string& name, const std::string& portName,
                         std::optional<std::vector<std::uint8_t>> forcedConfig);
std::vector<std::uint8_t> ForcedConfig(unsigned first, unsigned last, unsigned irq);

SCheckSnapshot Nt(std::initializer_list<SCheckBoard> boards,
                  std::initializer_list<SForeignEntry> foreign = {});
SCheckSnapshot Win9x(std::initializer_list<SCheckBoard> boards,
                     std::initializer_list<SForeignEntry> foreign = {});

std::string Short(const SCheckFinding& finding);
std::vector<std::string> Short(const std::vector<SCheckFinding>& findings);
