#pragma once

// Local databases of the earlier format: one SQLite file each, directly in
// the local-databases folder, whose view "view_sms" lists every message
// (address, body, person, date, is_send) with the bodies enciphered (RC4).
namespace OldLocalDbFormat {
// The 32 ASCII characters that make the cipher's key.
inline constexpr char kKey[] = "7B3E91C04D2A4F58B6E1A9D3C0F7E254";
// The ending a file carries while it is being converted.
inline constexpr char kWorkingSuffix[] = ".__tmp";
} // namespace OldLocalDbFormat
