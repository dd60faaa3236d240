# Windows for the window command tests: one of each control the commands work on.
window {
    id = 0x52010F01
    symbol = TestWindow
    rect = 20 20 660 520
    caption "命令测试"
    listview "列表" {
        symbol = List
        rect = 4 4 420 200
        column "序号" 40
        column "金额" 60 right
        column "备注信息" 80 center
    }
    combo "组合框" {
        symbol = Combo
        rect = 430 4 120 24
        item "甲" 1
        item "乙" 2
    }
    list "列表框" {
        symbol = ListBox
        rect = 430 40 120 80
        item "一"
        item "二"
        item "三"
    }
    checklist "选择列表框" {
        symbol = CheckList
        rect = 430 130 120 80
        item "收入金额"
        item "支出金额"
    }
    button "按钮" {
        symbol = Button
        rect = 10 220 80 24
        caption "确定"
    }
    edit "编辑框" {
        symbol = Edit
        rect = 100 220 120 24
    }
    pages "选择夹" {
        symbol = Pages
        rect = 4 250 300 120
        page "收入详单"
        page "支出详单"
    }
    statusbar "状态条" {
        symbol = Status
        rect = 0 440 640 20
        pane "总收入：" 50
        pane "" 100
        pane "余额：" 40
    }
    printer "打印机1" {
        symbol = Printer
    }
    dialog "字体对话框" {
        symbol = FontDialog
        dialog = 0
    }
    menu "弹出" {
        symbol = PopupRoot
        item "查看"
        item "删除"
    }
}

window {
    id = 0x52010F02
    symbol = OtherWindow
    rect = 40 40 300 200
    caption "其他窗口"
    label "标签" {
        symbol = OtherLabel
        rect = 10 10 100 20
        caption "标签"
    }
}
