# The expense category editor: a grid over "支出类型.edb" through a data source
# and a database provider that opens the file itself.
window {
    id = 0x52010002
    symbol = ExpenseCategoryWindow
    caption "支出类型管理"
    rect 50 50 380 250
    on 0 ExpenseEditorCreated
    on 2 ExpenseEditorDestroyed
    grid "表格_消费类型" symbol=ExpenseCategoryGrid { rect 0 0 375 184; set source "数据源" }
    datasource "数据源" symbol=ExpenseDataSource { rect 121 192 132 22; set provider "数据库提供者" }
    dbprovider "数据库提供者" symbol=ExpenseProvider { rect 56 192 40 32 }
    button "按钮1" symbol=ExpenseConfirmButton {
        rect 288 192 64 24; caption "确认"; on 0 ExpenseEditorConfirm
    }
}
