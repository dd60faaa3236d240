# The hidden background print window: the table component the print code
# fills (数据源1 over 通用提供者1, shown by 表格1), the script component that
# evaluates formula columns and the timer that watches the preview.
window {
    id = 0x52010A3E
    symbol = PrintBackgroundWindow
    caption "打印表格"
    rect 0 0 400 300
    script "脚本组件1" id=0x16010C01 symbol=PrintScript { rect 8 8 32 32; set language "JScript" }
    timer "时钟1" id=0x16010C02 symbol=PreviewTimer { interval 0; on 0 PreviewTimerTick }
    provider "通用提供者1" id=0x16010C03 symbol=PrintProvider { rect 48 8 32 32 }
    datasource "数据源1" id=0x16010C04 symbol=PrintSource { rect 88 8 132 22 }
    grid "表格1" id=0x16010C05 symbol=PrintGrid { rect 0 48 390 220; set source "数据源1" }
}
