// Names of processors that carry no brand string, by vendor, family and
// model. Texts are Windows-1252: \xAE is the registered sign, \x99 the trade
// mark, \xB5 micro.
#include "ProcessorInfo.h"

namespace {

constexpr int kAny = -1;

struct NameRow {
  ProcessorVendor vendor;
  int family;  // kAny: the vendor's last resort
  int model;   // kAny: the family's last resort
  const char* name;
};

// The first row that matches wins: models, then the family, then the vendor.
const NameRow kNames[] = {
    {kVendorIntel, 3, kAny, "Newer i80386 family"},
    {kVendorIntel, 4, 0, "i80486DX-25/33"},
    {kVendorIntel, 4, 1, "i80486DX-50"},
    {kVendorIntel, 4, 2, "i80486SX"},
    {kVendorIntel, 4, 3, "i80486DX2"},
    {kVendorIntel, 4, 4, "i80486SL"},
    {kVendorIntel, 4, 5, "i80486SX2"},
    {kVendorIntel, 4, 7, "i80486DX2 WriteBack"},
    {kVendorIntel, 4, 8, "i80486DX4"},
    {kVendorIntel, 4, 9, "i80486DX4 WriteBack"},
    {kVendorIntel, 4, kAny, "Unknown 80486 family"},
    {kVendorIntel, 5, 0, "P5 A-Step"},
    {kVendorIntel, 5, 1, "P5"},
    {kVendorIntel, 5, 2, "P54C"},
    {kVendorIntel, 5, 7, "P54C"},
    {kVendorIntel, 5, 3, "P24T OverDrive"},
    {kVendorIntel, 5, 4, "P55C"},
    {kVendorIntel, 5, 8, "P55C (0.25\xB5m)"},
    {kVendorIntel, 5, kAny, "Unknown Pentium\xAE family"},
    {kVendorIntel, 6, 0, "P6 A-Step"},
    {kVendorIntel, 6, 1, "P6"},
    {kVendorIntel, 6, 3, "Pentium\xAE II (0.28 \xB5m)"},
    {kVendorIntel, 6, 5, "Pentium\xAE II (0.25 \xB5m)"},
    {kVendorIntel, 6, 6, "Pentium\xAE II With On-Die L2 Cache"},
    {kVendorIntel, 6, 7, "Pentium\xAE III (0.25 \xB5m)"},
    {kVendorIntel, 6, 8, "Pentium\xAE III (0.18 \xB5m) With 256 KB On-Die L2 Cache "},
    {kVendorIntel, 6, 10, "Pentium\xAE III (0.18 \xB5m) With 1 Or 2 MB On-Die L2 Cache "},
    {kVendorIntel, 6, 11, "Pentium\xAE III (0.13 \xB5m) With 256 Or 512 KB On-Die L2 Cache "},
    {kVendorIntel, 6, kAny, "Unknown P6 family"},
    {kVendorIntel, 7, kAny, "Intel Merced (IA-64)"},
    {kVendorIntel, kAny, kAny, "Unknown Intel family"},

    {kVendorAmd, 4, 3, "80486DX2"},
    {kVendorAmd, 4, 7, "80486DX2 WriteBack"},
    {kVendorAmd, 4, 8, "80486DX4"},
    {kVendorAmd, 4, 9, "80486DX4 WriteBack"},
    {kVendorAmd, 4, 14, "5x86"},
    {kVendorAmd, 4, 15, "5x86WB"},
    {kVendorAmd, 4, kAny, "Unknown 80486 family"},
    {kVendorAmd, 5, 0, "SSA5 (PR75, PR90, PR100)"},
    {kVendorAmd, 5, 1, "5k86 (PR120, PR133)"},
    {kVendorAmd, 5, 2, "5k86 (PR166)"},
    {kVendorAmd, 5, 3, "5k86 (PR200)"},
    {kVendorAmd, 5, 6, "K6 (0.30 \xB5m)"},
    {kVendorAmd, 5, 7, "K6 (0.25 \xB5m)"},
    {kVendorAmd, 5, 8, "K6-2"},
    {kVendorAmd, 5, 9, "K6-III"},
    {kVendorAmd, 5, 13, "K6-2+ or K6-III+ (0.18 \xB5m)"},
    {kVendorAmd, 5, kAny, "Unknown 80586 family"},
    {kVendorAmd, 6, 1, "Athlon\x99 (0.25 \xB5m)"},
    {kVendorAmd, 6, 2, "Athlon\x99 (0.18 \xB5m)"},
    {kVendorAmd, 6, 3, "Duron\x99 (SF core)"},
    {kVendorAmd, 6, 4, "Athlon\x99 (Thunderbird core)"},
    {kVendorAmd, 6, 6, "Athlon\x99 (Palomino core)"},
    {kVendorAmd, 6, 7, "Duron\x99 (Morgan core)"},
    {kVendorAmd, 6, kAny, "Unknown K7 family"},
    {kVendorAmd, kAny, kAny, "Unknown AMD family"},

    {kVendorNationalSemiconductor, kAny, kAny, "Cx486SLC \\ DLC \\ Cx486S A-Step"},

    {kVendorUmc, 4, 1, "U5D"},
    {kVendorUmc, 4, 2, "U5S"},
    {kVendorUmc, kAny, kAny, "Unknown UMC family"},

    {kVendorCyrix, 4, 4, "MediaGX GX, GXm"},
    {kVendorCyrix, 4, 9, "5x86"},
    {kVendorCyrix, 4, kAny, "Unknown Cx5x86 family"},
    {kVendorCyrix, 5, 2, "Cx6x86"},
    {kVendorCyrix, 5, 4, "MediaGX GXm"},
    {kVendorCyrix, 5, kAny, "Unknown Cx6x86 family"},
    {kVendorCyrix, 6, 0, "6x86MX"},
    {kVendorCyrix, 6, 5, "Cyrix M2 Core"},
    {kVendorCyrix, 6, 6, "WinChip C5A Core"},
    {kVendorCyrix, 6, 7, "WinChip C5B\\C5C Core"},
    {kVendorCyrix, 6, 8, "WinChip C5C-T Core"},
    {kVendorCyrix, 6, kAny, "Unknown 6x86MX\\Cyrix III family"},
    {kVendorCyrix, kAny, kAny, "Unknown Cyrix family"},

    {kVendorNexGen, 5, 0, "Nx586 or Nx586FPU"},
    {kVendorNexGen, kAny, kAny, "Unknown NexGen family"},

    {kVendorIdtCentaur, 5, 4, "C6"},
    {kVendorIdtCentaur, 5, 8, "C2"},
    {kVendorIdtCentaur, 5, 9, "C3"},
    {kVendorIdtCentaur, 6, 6, "VIA Cyrix III - Samuel"},
    {kVendorIdtCentaur, kAny, kAny, "Unknown IDT\\Centaur family"},

    {kVendorRise, 5, 0, "mP6 (0.25 \xB5m)"},
    {kVendorRise, 5, 2, "mP6 (0.18 \xB5m)"},
    {kVendorRise, kAny, kAny, "Unknown Rise family"},

    {kVendorTransmeta, 5, 4, "Crusoe TM3x00 and TM5x00"},
    {kVendorTransmeta, 5, kAny, "Unknown Crusoe family"},
    {kVendorTransmeta, kAny, kAny, "Unknown Transmeta family"},
};

bool Matches(const NameRow& row, ProcessorVendor vendor, int family, int model) {
  return row.vendor == vendor && (row.family == kAny || row.family == family) &&
         (row.model == kAny || row.model == model);
}

// Family 15 names by extended family; beyond McKinley the name stays empty.
const char* IntelFamily15Name(int model, int extendedFamily) {
  if (extendedFamily == 0) {
    if (model == 0 || model == 1) return "Pentium\xAE IV (0.18 \xB5m)";
    if (model == 2) return "Pentium\xAE IV (0.13 \xB5m)";
    return "Unknown Pentium 4 family";
  }
  return extendedFamily == 1 ? "Intel McKinley (IA-64)" : "";
}

}  // namespace

const char* ProcessorNameFromTable(ProcessorVendor vendor, int family, int model, int extendedFamily,
                                   bool multiprocessorCapable) {
  if (vendor == kVendorIntel && family == 15) return IntelFamily15Name(model, extendedFamily);
  if (vendor == kVendorAmd && family == 6 && model == 8)
    return multiprocessorCapable ? "Athlon\x99 MP (Thoroughbred core)" : "Athlon\x99 XP (Thoroughbred core)";
  for (const NameRow& row : kNames)
    if (Matches(row, vendor, family, model)) return row.name;
  return "Unknown family";
}
