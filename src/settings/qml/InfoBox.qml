MessageBox {
    symbol: "info.circle.fill"
    tint: "#007aff"
}
