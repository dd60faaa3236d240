# The main window: tool bar, the four-page item pages with the entry groups and
# item lists, the period selector with the charts, the side picture, the status
# bar and the menus. Symbols become the id constants of app_tpl::ids.
window {
    id = 0x52010001
    symbol = MainWindow
    caption "Tavrin "
    rect 50 50 800 600
    on 0 MainWindowStartUp
    on 4 LayoutMainWindow

    toolbar "工具条1" symbol=Toolbar1 {
        rect -1 0 657 48
        images "pictures/toolbar.jpg" 20 20
        separator
        button 14 "初始化" "清空所有数据"
        button 10 "备份" "备份当前数据库文件"
        separator
        button 7 "收入详单" "添加、修改、删除收入项目"
        button 6 "支出详单" "添加、修改、删除收入项目"
        separator
        button 8 "打印表" "打印当前表格数据"
        button 8 "打印图" "打印当前图形数据"
        separator
        button 18 "撤销" "回到上一步操作" disabled
        button 19 "重复" "继续下一步操作" disabled
        button 13 "帮助" "详细使用帮助" dropdown
        button 9 "关于"
        button 21 "退出" "关闭仿真程序"
        on 0 ToolbarCommand
        on 1 ShowHelpMenu
    }

    pages "高级选择夹1" symbol=MainPages {
        rect 2 41 790 530
        on 0 MainPageChanged
        page "收入详单" {
            group "分组框1" symbol=IncomeGroup {
                rect 2 -6 253 192
                label "标签11" { rect 9 16 60 24; caption "收入类型：" }
                combo "组合框_收入类型" symbol=IncomeCategoryCombo {
                    rect 79 16 86 24
                    on 0 IncomeCategoryChosen
                    on 1 RejectTypedCategory
                }
                button "按钮_添加收入类型" symbol=IncomeCategoryButton {
                    rect 165 15 80 24; caption "管理收入类型"; on 0 OpenIncomeCategoryEditor
                }
                label "标签10" { rect 8 46 60 24; caption "收入金额：" }
                edit "编辑框_收入金额" symbol=IncomeAmountEdit { rect 79 46 164 24 }
                label "标签9" { rect 9 76 60 24; caption "收入时间：" }
                date "日期框_收入时间" symbol=IncomeDatePicker { rect 79 76 164 24 }
                label "标签4" { rect 9 106 60 24; caption "备注信息：" }
                edit "编辑框_收入备注信息" symbol=IncomeRemarkEdit {
                    rect 79 106 164 48; multiline 1
                }
                button "按钮_收入添加" symbol=IncomeAddButton {
                    rect 5 162 80 24; caption "添加收入记录"; on 0 AddIncomeItem
                }
                button "按钮_收入修改" symbol=IncomeChangeButton {
                    rect 86 162 80 24; caption "修改某条记录"; on 0 ChangeIncomeItem
                }
                button "按钮_收入删除" symbol=IncomeDeleteButton {
                    rect 166 162 80 24; caption "删除某条记录"; on 0 DeleteIncomeItem
                }
            }
            listview "收入信息列表" symbol=IncomeList {
                rect 2 185 786 323
                gridlines 1
                column "序号" 50
                column "收入金额" 100
                column "收入类型" 150
                column "收入时间" 160
                column "备注信息" 315
                on 0 IncomeRowReached
                on 2 IncomeColumnClicked
                on 4 ViewIncomeItem
                on 5 ShowIncomePopup
            }
            printer "打印机1" symbol=Printer1 { rect 700 10 32 32 }
        }
        page "支出详单" {
            group "分组框2" symbol=ExpenseGroup {
                rect 2 -6 253 192
                label "标签5" { rect 9 16 60 24; caption "支出类型：" }
                combo "组合框_支出类型" symbol=ExpenseCategoryCombo {
                    rect 70 16 95 24
                    on 0 ExpenseCategoryChosen
                    on 1 RejectTypedCategory
                }
                button "按钮_添加支出类型" symbol=ExpenseCategoryButton {
                    rect 165 15 80 24; caption "管理支出类型"; on 0 OpenExpenseCategoryEditor
                }
                label "标签6" { rect 8 46 60 24; caption "支出金额：" }
                edit "编辑框_支出金额" symbol=ExpenseAmountEdit { rect 70 46 176 24 }
                label "标签7" { rect 9 76 60 24; caption "支出时间：" }
                date "日期框_支出时间" symbol=ExpenseDatePicker { rect 70 76 176 24 }
                label "标签8" { rect 9 106 60 24; caption "备注信息：" }
                edit "编辑框_备注信息" symbol=ExpenseRemarkEdit {
                    rect 70 106 173 48; multiline 1
                }
                button "按钮_支出添加" symbol=ExpenseAddButton {
                    rect 5 162 80 24; caption "添加支出记录"; on 0 AddExpenseItem
                }
                button "按钮_支出修改" symbol=ExpenseChangeButton {
                    rect 86 162 80 24; caption "修改某条记录"; on 0 ChangeExpenseItem
                }
                button "按钮_支出删除" symbol=ExpenseDeleteButton {
                    rect 166 162 80 24; caption "删除某条记录"; on 0 DeleteExpenseItem
                }
                recordset "记录集1" { rect 200 130 32 32 }
            }
            listview "支出信息列表" symbol=ExpenseList {
                rect 2 185 786 323
                gridlines 1
                column "序号" 50
                column "支出金额" 100
                column "支出类型" 150
                column "支出时间" 160
                column "备注信息" 315
                on 0 ExpenseRowReached
                on 2 ExpenseColumnClicked
                on 4 ViewExpenseItem
                on 5 ShowExpensePopup
            }
        }
        page "打印当前表" { }
        page "打印当前图" { }
    }

    shape "外形框1" symbol=ChartFrame {
        rect 257 41 534 185
        pages "高级选择夹图" symbol=ChartPages {
            rect 0 42 491 142
            set tabs "left"
            on 0 ChartPageChanged
            page "类型饼图" {
                piechart "饼形图控件1" symbol=PieChart1 { rect 23 1 470 140 }
            }
            page "时间曲线图" {
                linechart "曲线图控件1" symbol=LineChart1 { rect 23 1 470 140 }
            }
        }
        # Year pages: the template carries recent years; start-up adds every
        # other year found in the item files, so that all data stays reachable.
        pages "高级选择夹年" symbol=YearPages {
            rect 493 1 43 184
            on 0 YearPageChanged
            page "年合计" { }
            page "2016" { }
            page "2017" { }
            page "2018" { }
            page "2019" { }
            page "2020" { }
            page "2021" { }
            page "2022" { }
            page "2023" { }
            page "2024" { }
            page "2025" { }
            page "2026" { }
            page "2027" { }
        }
        pages "高级选择夹月" symbol=MonthPages {
            rect 0 0 493 44
            on 0 MonthPageChanged
            page "月合计" { }
            page "1" { }
            page "2" { }
            page "3" { }
            page "4" { }
            page "5" { }
            page "6" { }
            page "7" { }
            page "8" { }
            page "9" { }
            page "10" { }
            page "11" { }
            page "12" { }
        }
    }

    picture "图片框1" symbol=Picture1 {
        rect 792 42 88 183
        picture "pictures/side.jpg"
    }

    statusbar "状态条1" symbol=StatusBar1 {
        rect 0 526 794 20
        # The totals' panes hold twelve digits, a sign and 万元.
        pane "总收入：" 50
        pane "" 125
        pane "总支出：" 50
        pane "" 125
        pane "余额：" 40
        pane "" 125
        pane "作者：" 40
        pane "Tavrin组 example.org" 120
        pane "备注：" 1000
        pane "" 0
    }

    menu "系统" {
        item "配置" symbol=MenuConfigure
        item "查找" symbol=MenuFind on=OpenFindBar
        item "恢复备份…" symbol=MenuRestore on=OpenRestoreWindow
        item "退出" symbol=MenuExit on=ExitAtOnce
    }
    menu "弹出收入" hidden symbol=PopupIncomeMenu {
        item "查看" on=ViewIncomeItem
        item "修改" on=ChangeIncomeItem
        item "删除" on=DeleteIncomeItem
    }
    menu "弹出支出" hidden symbol=PopupExpenseMenu {
        item "查看" on=ViewExpenseItem
        item "修改" on=ChangeExpenseItem
        item "删除" on=DeleteExpenseItem
    }
    menu "帮助" {
        item "更新" symbol=MenuUpdate
        item "关于" symbol=MenuAbout on=ShowAboutBox
    }
    menu "帮助菜单" hidden symbol=HelpPopupMenu {
        item "官方博客" symbol=MenuBlog on=OpenBlogPage
        item "官方网盘" symbol=MenuDownload on=OpenDownloadPage
    }
}
