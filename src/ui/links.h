// The maker's pages that the windows' links and menu entries lead to. The windows say
// which one the user asked for; the page catalogue (web/pages.h) knows the addresses.
#pragma once

namespace forms {

enum class Link { Help, Home, Update, Donate, FullBrand, CoBrand, Softwares };

} // namespace forms
