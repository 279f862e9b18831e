# The main frame: the file-open choice is model code; the frame, its timer table, its adapters to
# the port and the view, and its dialogs are window code that hosts the protocol engine.
target_sources(app_model PRIVATE
    FileOpen.cpp
)

if(VENTORA_BUILD_GUI)
    target_sources(app_ui PRIVATE
        AboutDlg.cpp
        QtFileDialog.cpp
        QtTimerTable.cpp
    )
    target_link_libraries(app_ui PUBLIC protocol_model link_model files_model)
endif()
