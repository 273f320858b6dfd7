MessageBox {
    symbol: "exclamationmark.triangle.fill"
    tint: "#ff9500"
}
