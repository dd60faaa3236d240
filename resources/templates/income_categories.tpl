# The income category editor: the same window as the expense one, over
# "收入类型.edb".
window {
    id = 0x52010003
    symbol = IncomeCategoryWindow
    caption "收入类型管理"
    rect 50 50 380 250
    on 0 IncomeEditorCreated
    on 2 IncomeEditorDestroyed
    grid "表格_消费类型" symbol=IncomeCategoryGrid { rect 0 0 375 184; set source "数据源" }
    datasource "数据源" symbol=IncomeDataSource { rect 121 192 132 22; set provider "数据库提供者" }
    dbprovider "数据库提供者" symbol=IncomeProvider { rect 56 192 40 32 }
    button "按钮1" symbol=IncomeConfirmButton {
        rect 288 192 64 24; caption "确认"; on 0 IncomeEditorConfirm
    }
}
