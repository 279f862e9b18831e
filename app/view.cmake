# The overview view: its row store, layouts and keyboard rules are model code; the table model
# and the view itself are window code, which owns the program's serial port (link_model).
target_sources(app_model PRIVATE
    KeyboardFilter.cpp
    OverviewLayout.cpp
    OverviewRows.cpp
)

if(VENTORA_BUILD_GUI)
    target_sources(app_ui PRIVATE
        OverviewTableModel.cpp
        VentoraView.cpp
    )
    target_link_libraries(app_ui PUBLIC link_model)
endif()
