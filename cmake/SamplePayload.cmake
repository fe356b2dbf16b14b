# Writes the sample payload (small, clearly marked stand-ins for the add-on's
# files) into DATA_DIR. Run with: cmake -DDATA_DIR=... -P SamplePayload.cmake
if(NOT DATA_DIR)
    message(FATAL_ERROR "DATA_DIR not set")
endif()
set(note "SAMPLE FILE of the Trabex setup's test payload - not a real AutoCAD module.")
# One module per number of the release-to-module table, and the 64-bit edition's extra.
foreach(module 2008 2009 2010 2013 2015 2017 2018 2019 2021 2025 2027)
    file(WRITE "${DATA_DIR}/Trabex${module}.ARX" "${note}\nTrabex${module}.ARX\n")
endforeach()
file(WRITE "${DATA_DIR}/Trabex2010_32.ARX" "${note}\nTrabex2010_32.ARX\n")
file(WRITE "${DATA_DIR}/Trabex_EN.shx" "${note}\nTrabex_EN.shx (shape font)\n")
file(WRITE "${DATA_DIR}/Trabex_HZ.shx" "${note}\nTrabex_HZ.shx (big font)\n")
file(WRITE "${DATA_DIR}/Trabex.prt5" "${note}\nTrabex.prt5 (PDF plot driver, installed as pdfplot9.hdi)\n")
file(WRITE "${DATA_DIR}/Trabex.cuix" "${note}\nTrabex.cuix (menu)\n")
set(lib "${DATA_DIR}/Trabex扩展绘图库")
file(WRITE "${lib}/门窗.dwg" "${note}\n门窗.dwg\n")
file(WRITE "${lib}/标注样式.dwg" "${note}\n标注样式.dwg\n")
file(WRITE "${lib}/说明.txt" "${note}\n扩展绘图库说明\n")
