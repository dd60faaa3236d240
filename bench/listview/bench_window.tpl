# The main window's list as the program lays it out: five columns, 786 × 323.
window {
    id = 0x52010F11
    symbol = BenchWindow
    rect = 0 0 800 400
    caption "列表测速"
    listview "收入信息列表" {
        symbol = List
        rect = 2 2 786 323
        column "序号" 50
        column "收入金额" 100
        column "收入类型" 150
        column "收入时间" 160
        column "备注信息" 315
    }
}
