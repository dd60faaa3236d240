# The hidden print window's table component: a grid over a data source fed by
# a general provider.
window {
    id = 0x52010F21
    symbol = BenchWindow
    rect = 0 0 600 400
    caption "表格测速"
    grid "表格1" {
        symbol = Grid
        rect = 0 0 580 300
        set source "数据源1"
    }
    datasource "数据源1" {
        symbol = Source
        rect = 0 310 132 22
        set provider "通用提供者1"
    }
    provider "通用提供者1" {
        symbol = Provider
    }
}
