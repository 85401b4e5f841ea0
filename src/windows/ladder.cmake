# The profit/loss window: the price ladder, its calculators and its refresh.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NumericFieldFilter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CompactBoxes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SellTargetBoxes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SellTargetBinder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CurrentPriceGroup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GainControllers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PriceLadderModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DetailRefresh.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DetailRefreshController.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfitLossMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfitLossWindow.cpp
)
