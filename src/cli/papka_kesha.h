// Where the command line keeps its constant cache.
#pragma once

#include <optional>
#include <string>

// The cache folder of a command-line run: zadana when --cache named one;
// else VelimathData/ of the current directory when that folder already
// exists (a folder kept from earlier runs stays in use); else
// $XDG_CACHE_HOME/ciframer/VelimathData/, with ~/.cache in place of
// XDG_CACHE_HOME when it is unset, empty or not absolute (the base
// directory rules ignore a relative one). Empty when no home folder is
// known either: the run keeps its constants in memory only.
std::string PapkaKeshaKomandnoyStroki(const std::optional<std::string>& zadana);
