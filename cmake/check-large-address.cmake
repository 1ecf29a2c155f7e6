# cmake -DEXE=path -P check-large-address.cmake: fails unless the PE header of EXE
# carries IMAGE_FILE_LARGE_ADDRESS_AWARE (0x0020 in the COFF header's Characteristics).
file(READ "${EXE}" lfanew OFFSET 60 LIMIT 4 HEX)
string(SUBSTRING "${lfanew}" 2 2 high)
string(SUBSTRING "${lfanew}" 0 2 low)
math(EXPR header "0x${high}${low}")
math(EXPR at "${header} + 4 + 18")
file(READ "${EXE}" flags OFFSET ${at} LIMIT 1 HEX)
math(EXPR aware "0x${flags} & 0x20")
if(NOT aware)
    message(FATAL_ERROR "${EXE} is not marked large-address aware")
endif()
